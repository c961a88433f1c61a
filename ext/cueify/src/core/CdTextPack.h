// One 18-byte CD-Text pack: type, track or element number, sequence number, block and
// character position, 12 data bytes and a CRC over the 16 bytes before it.
#pragma once

#include "core/CdTextBlock.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace cueify {

constexpr size_t kCdTextHeaderBytes = 4;
constexpr size_t kPackBytes = 18;
constexpr size_t kPackDataBytes = 12;
constexpr uint8_t kLargestCharPosition = 15;

namespace pack_type {
constexpr uint8_t kTitle = 0x80;
constexpr uint8_t kMessage = 0x85;
constexpr uint8_t kDiscId = 0x86;
constexpr uint8_t kGenre = 0x87;
constexpr uint8_t kToc = 0x88;
constexpr uint8_t kTocIntervals = 0x89;
constexpr uint8_t kPrivate = 0x8D;
constexpr uint8_t kUpcIsrc = 0x8E;
constexpr uint8_t kSizeInfo = 0x8F;
} // namespace pack_type

constexpr uint8_t packTypeOf(CdTextKind kind) noexcept
{
    switch (kind) {
    case CdTextKind::Private:
        return pack_type::kPrivate;
    case CdTextKind::UpcIsrc:
        return pack_type::kUpcIsrc;
    default:
        return static_cast<uint8_t>(pack_type::kTitle + static_cast<uint8_t>(kind));
    }
}

// Titles to messages are in the block's character set; the rest is single-byte text or numbers.
constexpr bool followsBlockCharset(CdTextKind kind) noexcept
{
    return packTypeOf(kind) <= pack_type::kMessage;
}

struct CdTextPack
{
    uint8_t type = 0;
    uint8_t track = 0; // or element number
    uint8_t sequence = 0;
    uint8_t block = 0;
    uint8_t position = 0; // characters of the current string in earlier packs, at most 15
    bool extension = false;
    bool doubleByte = false;
    std::array<uint8_t, kPackDataBytes> data{};

    static CdTextPack fromBytes(const uint8_t* bytes) noexcept;

    // Writes kPackBytes bytes, the CRC included.
    void writeTo(uint8_t* bytes) const noexcept;
};

// CRC-16 of CD sub-channel data: polynomial 0x1021, initial 0, inverted, over 16 bytes.
uint16_t packCrc(const uint8_t* bytes) noexcept;

} // namespace cueify
