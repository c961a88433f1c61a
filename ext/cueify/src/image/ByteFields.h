// Integers read from the bytes of a file header, in either byte order.
#pragma once

#include <cstdint>

namespace cueify {

inline uint16_t littleEndian16(const unsigned char* bytes) noexcept
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline uint32_t littleEndian32(const unsigned char* bytes) noexcept
{
    return static_cast<uint32_t>(littleEndian16(bytes)) | static_cast<uint32_t>(littleEndian16(bytes + 2))
                                                              << 16;
}

inline uint16_t bigEndian16(const unsigned char* bytes) noexcept
{
    return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
}

inline uint32_t bigEndian32(const unsigned char* bytes) noexcept
{
    return static_cast<uint32_t>(bigEndian16(bytes)) << 16 | bigEndian16(bytes + 2);
}

} // namespace cueify
