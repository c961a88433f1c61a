// Refuses descriptions that no disc image can have, before anything is written.
#pragma once

#include "mkdisc/DiscSpec.h"

namespace mkdisc {

constexpr unsigned kMaxTracks = 99;

// Throws std::invalid_argument naming what is wrong.
void checkSpec(const DiscSpec& description);

} // namespace mkdisc
