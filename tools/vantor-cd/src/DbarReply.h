// AccurateRip's reply for a disc (a dBAR file): one response per group of matching submissions,
// each with the disc's IDs and, per track, a confidence and a CRC.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace vantorcd {

struct DbarTrack
{
    uint8_t confidence = 0;
    uint32_t crc = 0;
    uint32_t frame450Crc = 0;
};

struct DbarResponse
{
    uint32_t id1 = 0;
    uint32_t id2 = 0;
    uint32_t freedb = 0;
    std::vector<DbarTrack> tracks; // entry i is disc track i + 1
};

class MalformedReply : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Throws MalformedReply for a reply that is empty or ends inside a response.
std::vector<DbarResponse> parseDbarReply(const uint8_t* bytes, size_t size);

} // namespace vantorcd
