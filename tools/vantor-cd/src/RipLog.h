// DIR/rip.log: what a rip read, from where, and the numbers that prove each track.
#pragma once

#include "RippedTrack.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantorcd {

struct RipLogHeader
{
    std::string source;     // the drive or disc image
    bool drive = false;     // a drive rather than an image
    int32_t readOffset = 0; // in samples, as corrected
    std::string musicbrainzId;
    uint32_t freedbId = 0;
    std::string accurateRipId; // the dBAR file name
    std::string mcn;
    std::string accurateRipNote; // where the reply came from, or why there is none
};

std::string ripLogText(const RipLogHeader& header, const std::vector<RippedTrack>& tracks);

// 8 lower-case hex digits.
std::string hex8(uint32_t value);

} // namespace vantorcd
