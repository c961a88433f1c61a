#include "core/CdTextPack.h"

#include <algorithm>

namespace cueify {
namespace {

constexpr uint8_t kExtensionBit = 0x80;
constexpr uint8_t kDoubleByteBit = 0x80;
constexpr size_t kCrcCoveredBytes = 16;

} // namespace

CdTextPack CdTextPack::fromBytes(const uint8_t* bytes) noexcept
{
    CdTextPack pack;
    pack.type = bytes[0];
    pack.extension = (bytes[1] & kExtensionBit) != 0;
    pack.track = bytes[1] & 0x7F;
    pack.sequence = bytes[2];
    pack.doubleByte = (bytes[3] & kDoubleByteBit) != 0;
    pack.block = bytes[3] >> 4 & 0x07;
    pack.position = bytes[3] & 0x0F;
    std::copy_n(bytes + 4, kPackDataBytes, pack.data.begin());
    return pack;
}

void CdTextPack::writeTo(uint8_t* bytes) const noexcept
{
    bytes[0] = type;
    bytes[1] = static_cast<uint8_t>((extension ? kExtensionBit : 0) | (track & 0x7F));
    bytes[2] = sequence;
    bytes[3] = static_cast<uint8_t>((doubleByte ? kDoubleByteBit : 0) | (block & 0x07) << 4 |
                                    std::min(position, kLargestCharPosition));
    std::copy(data.begin(), data.end(), bytes + 4);
    const uint16_t crc = packCrc(bytes);
    bytes[16] = static_cast<uint8_t>(crc >> 8);
    bytes[17] = static_cast<uint8_t>(crc);
}

uint16_t packCrc(const uint8_t* bytes) noexcept
{
    uint16_t crc = 0;
    for (size_t i = 0; i < kCrcCoveredBytes; ++i) {
        crc ^= static_cast<uint16_t>(bytes[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
    }
    return static_cast<uint16_t>(~crc);
}

} // namespace cueify
