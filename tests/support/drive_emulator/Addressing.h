// Minutes, seconds and frames of an absolute disc address, and BCD, as TOCs and sub-channels hold them.
#pragma once

#include <discgeometry/DiscGeometry.h>

#include <array>
#include <cstdint>

namespace driveemulator {

using discgeometry::Msf;
using discgeometry::toBcd;
using discgeometry::toMsf;

// Minutes, seconds and frames as the three bytes a reply holds them in.
inline std::array<uint8_t, 3> msfBytes(uint32_t absoluteFrame)
{
    const Msf msf = toMsf(absoluteFrame);
    return {static_cast<uint8_t>(msf.minutes), static_cast<uint8_t>(msf.seconds),
            static_cast<uint8_t>(msf.frames)};
}

} // namespace driveemulator
