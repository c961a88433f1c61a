// Where a track's indices lie, found by reading the Q sub-channel's position at a few sectors:
// one probe at the end of the track, then a binary search for each index boundary.
#pragma once

#include "core/Addressing.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace cueify {

// What the Q sub-channel says of a sector: the track and index it belongs to.
struct QPosition
{
    uint8_t track = 0;
    uint8_t index = 0;
};

struct FoundIndex
{
    uint8_t number = 0;
    Lba lba;
};

// The indices of the track starting at start and running up to end (the next track's start, or
// its session's lead-out): INDEX 01 at start, 02, ... where they begin, then the next track's
// INDEX 00 where that track's pregap lies inside the span. probe throws Failure when a sector's
// position cannot be read.
std::vector<FoundIndex> findTrackIndices(uint8_t track, Lba start, Lba end,
                                         const std::function<QPosition(Lba)>& probe);

} // namespace cueify
