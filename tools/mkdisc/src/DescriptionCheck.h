// Refuses descriptions that no disc image can have, before anything is written.
#pragma once

#include "mkdisc/DiscDescription.h"

namespace mkdisc {

constexpr unsigned kMaxTracks = 99;

// Throws std::invalid_argument naming what is wrong.
void checkDescription(const DiscDescription& description);

} // namespace mkdisc
