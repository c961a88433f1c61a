// Minutes, seconds and frames as CUE sheets write them.
#pragma once

#include <discgeometry/DiscGeometry.h>

#include <cstdint>
#include <string>

namespace mkdisc {

using discgeometry::Msf;
using discgeometry::toBcd;
using discgeometry::toMsf;

// "mm:ss:ff", as CUE sheets write positions and lengths.
std::string cueTime(uint32_t frameCount);

} // namespace mkdisc
