// The part of a track that a rip or play covers, in stereo samples from the track's start.
#pragma once

#include "Vantor/Core/Interfaces/Types.h"

#include <cstdint>
#include <discgeometry/DiscGeometry.h>
#include <optional>

namespace vantorcd {

using discgeometry::kBytesPerSample;
using discgeometry::kSampleRate;
using discgeometry::kSamplesPerSector;

struct SampleRange
{
    uint64_t begin = 0;
    uint64_t end = 0; // one past the last sample

    uint64_t byteCount() const noexcept { return (end - begin) * kBytesPerSample; }
};

// From --from and --to, each rounded to the nearest sample; no --to means the track's end, and
// a --to past the end stops there. Throws UserError when --from is not inside the track or
// --to is not after --from.
SampleRange sampleRangeOf(std::optional<Vantor::avTime> from, std::optional<Vantor::avTime> to,
                          uint32_t trackSectors);

} // namespace vantorcd
