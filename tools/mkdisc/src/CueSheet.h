// The text of the CUE sheet that describes a placed disc.
#pragma once

#include "DiscGeometry.h"

#include <string>

namespace mkdisc {

std::string cueSheetText(const DiscDescription& description, const DiscGeometry& geometry);

} // namespace mkdisc
