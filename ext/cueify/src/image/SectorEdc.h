// The error detection code of a CD-ROM sector (ECMA-130, 14.3): a 32-bit CRC over the bytes
// before it, with the polynomial (x^16 + x^15 + x^2 + 1)(x^16 + x^2 + x + 1), least
// significant bit first, from zero; stored little-endian after the bytes it covers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cueify {

uint32_t sectorEdc(const uint8_t* bytes, size_t length) noexcept;

// Computes the code over bytes and stores it in the four bytes that follow them.
void writeSectorEdc(uint8_t* bytes, size_t length) noexcept;

} // namespace cueify
