// What the rip of one track left: its file and the numbers that verify it.
#pragma once

#include <cstdint>
#include <string>

namespace vantorcd {

struct RippedTrack
{
    unsigned number = 0;        // 0 for the audio before track 1
    std::string fileName;       // in the output folder
    uint32_t sectors = 0;       // of the file: from INDEX 01 to the next track's INDEX 01
    uint32_t pregapSectors = 0; // INDEX 00 to INDEX 01, at the end of the previous file
    std::string isrc;
    std::string title;
    std::string performer;
    uint32_t crc32 = 0;
    uint32_t accurateRipV1 = 0;
    uint32_t accurateRipV2 = 0;
    unsigned rereads = 0;
    std::string verdict;
};

} // namespace vantorcd
