// RIFF WAVE files built chunk by chunk, for the WAVE reader's tests and fuzz seeds; a chunk of odd
// size is followed by its pad byte.
#pragma once

#include <cstdint>
#include <string>

namespace wavefile {

using namespace std::string_literals;

inline std::string littleEndian(uint32_t value, int bytes)
{
    std::string text;
    for (int i = 0; i < bytes; ++i)
        text += static_cast<char>(value >> (8 * i) & 0xFF);
    return text;
}

inline std::string chunk(const std::string& id, const std::string& data)
{
    return id + littleEndian(static_cast<uint32_t>(data.size()), 4) + data + (data.size() % 2 ? "\0"s : "");
}

inline std::string riffWave(const std::string& chunks)
{
    return "RIFF" + littleEndian(static_cast<uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

inline std::string plainFormat(uint32_t rate = 44100, uint16_t channels = 2, uint16_t bits = 16)
{
    const uint32_t align = channels * bits / 8;
    return chunk("fmt ", littleEndian(1, 2) + littleEndian(channels, 2) + littleEndian(rate, 4) +
                             littleEndian(rate * align, 4) + littleEndian(align, 2) + littleEndian(bits, 2));
}

// Sample size in the container and valid bits, channel mask, and the subformat GUID.
inline std::string
extensibleFormat(uint16_t subformat, uint16_t bits = 16, uint16_t validBits = 16,
                 const std::string& guidTail = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71"s)
{
    const uint32_t align = 2 * bits / 8;
    return chunk("fmt ", littleEndian(0xFFFE, 2) + littleEndian(2, 2) + littleEndian(44100, 4) +
                             littleEndian(44100 * align, 4) + littleEndian(align, 2) + littleEndian(bits, 2) +
                             littleEndian(22, 2) + littleEndian(validBits, 2) + littleEndian(3, 4) +
                             littleEndian(subformat, 2) + guidTail);
}

} // namespace wavefile
