// The disc geometry as the library uses it, and its conversions into the C API's
// minutes, seconds and frames, which saturate at 255:59:74.
#pragma once

#include <cueify/types.h>
#include <discgeometry/DiscGeometry.h>

#include <cstdint>

namespace cueify {

using discgeometry::AbsoluteFrame;
using discgeometry::byteOffsetOf;
using discgeometry::distance;
using discgeometry::FileSector;
using discgeometry::FrameCount;
using discgeometry::kC2PointerBytes;
using discgeometry::kFramesPerMinute;
using discgeometry::kFramesPerSecond;
using discgeometry::kLeadInFrames;
using discgeometry::kRawSectorBytes;
using discgeometry::kSessionGapFrames;
using discgeometry::Lba;
using discgeometry::toAbsolute;
using discgeometry::toLba;

// Minutes, seconds and frames of a frame count; beyond 255:59:74 it saturates there.
cueify_msf_t toMsf(uint32_t frames) noexcept;

inline cueify_msf_t toMsf(AbsoluteFrame frame) noexcept
{
    return toMsf(frame.value);
}

inline cueify_msf_t toMsf(FrameCount count) noexcept
{
    return toMsf(count.value);
}

uint32_t framesOf(const cueify_msf_t& msf) noexcept;

} // namespace cueify
