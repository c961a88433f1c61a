// Stores numbers in the little-endian byte order of RIFF files and CD audio samples.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mkdisc {

inline void putLittleEndian16(uint8_t* out, uint16_t value) noexcept
{
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
}

inline void putLittleEndian32(uint8_t* out, uint32_t value) noexcept
{
    putLittleEndian16(out, static_cast<uint16_t>(value));
    putLittleEndian16(out + 2, static_cast<uint16_t>(value >> 16));
}

inline void putTag(uint8_t* out, const char (&tag)[5]) noexcept
{
    for (size_t i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(tag[i]);
}

} // namespace mkdisc
