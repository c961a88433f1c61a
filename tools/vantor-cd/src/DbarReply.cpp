#include "DbarReply.h"

#include <string>

namespace vantorcd {
namespace {

constexpr size_t kHeaderBytes = 13;
constexpr size_t kTrackBytes = 9;

uint32_t littleEndian32(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

} // namespace

std::vector<DbarResponse> parseDbarReply(const uint8_t* bytes, size_t size)
{
    if (size == 0)
        throw MalformedReply("an empty AccurateRip reply");
    std::vector<DbarResponse> responses;
    for (size_t offset = 0; offset < size;) {
        if (size - offset < kHeaderBytes)
            throw MalformedReply("an AccurateRip reply that ends inside a response header (byte " +
                                 std::to_string(offset) + ")");
        const uint8_t trackCount = bytes[offset];
        if (size - offset - kHeaderBytes < trackCount * kTrackBytes)
            throw MalformedReply("an AccurateRip reply that ends inside the " + std::to_string(trackCount) +
                                 " tracks of a response (byte " + std::to_string(offset) + ")");
        DbarResponse response;
        response.id1 = littleEndian32(bytes + offset + 1);
        response.id2 = littleEndian32(bytes + offset + 5);
        response.freedb = littleEndian32(bytes + offset + 9);
        offset += kHeaderBytes;
        for (uint8_t t = 0; t < trackCount; ++t, offset += kTrackBytes)
            response.tracks.push_back(
                {bytes[offset], littleEndian32(bytes + offset + 1), littleEndian32(bytes + offset + 5)});
        responses.push_back(std::move(response));
    }
    return responses;
}

} // namespace vantorcd
