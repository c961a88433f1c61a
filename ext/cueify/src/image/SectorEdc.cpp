#include "image/SectorEdc.h"

#include <array>

namespace cueify {
namespace {

// The polynomial x^32 + x^31 + x^16 + x^15 + x^4 + x^3 + x + 1, its bits reversed for a CRC
// that takes each byte's least significant bit first.
constexpr uint32_t kReversedPolynomial = 0xD8018001;

constexpr std::array<uint32_t, 256> makeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) ? kReversedPolynomial : 0);
        table[byte] = crc;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = makeTable();

} // namespace

uint32_t sectorEdc(const uint8_t* bytes, size_t length) noexcept
{
    uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i)
        crc = kTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void writeSectorEdc(uint8_t* bytes, size_t length) noexcept
{
    const uint32_t edc = sectorEdc(bytes, length);
    for (int i = 0; i < 4; ++i)
        bytes[length + i] = static_cast<uint8_t>(edc >> (8 * i));
}

} // namespace cueify
