// The bytes of MMC commands and their answers: big-endian fields, addresses in minutes, seconds and
// frames, sense data, and a reply cut to the command's allocation length.
#pragma once

#include "mkdisc/DiscWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace driveemulator {

using Bytes = std::vector<uint8_t>;
using Sense = std::array<uint8_t, 18>; // fixed format, as a drive returns it with CHECK CONDITION
constexpr uint32_t kLeadIn = mkdisc::kLeadInFrames;

inline uint32_t bigEndian(const uint8_t* bytes, int count)
{
    return count == 0 ? 0 : bigEndian(bytes, count - 1) << 8 | bytes[count - 1];
}

inline Bytes& putBigEndian(Bytes& out, uint32_t value, int count)
{
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
    return out;
}

// Minutes, seconds and frames of an absolute address, in binary or BCD.
inline Bytes msf(uint32_t absoluteFrame, bool bcd = false)
{
    const discgeometry::Msf at = discgeometry::toMsf(absoluteFrame);
    const auto put = [bcd](uint32_t value) {
        return bcd ? discgeometry::toBcd(value) : static_cast<uint8_t>(value);
    };
    return {put(at.minutes), put(at.seconds), put(at.frames)};
}

// Drives before MMC took READ TOC's format from the two top bits of byte 9, where the kernel still puts it.
inline uint8_t tocFormat(const uint8_t* cdb)
{
    return (cdb[2] & 0x0F) != 0 ? cdb[2] & 0x0F : cdb[9] >> 6;
}

// Sense data of a failed command: its sense key, additional sense code and qualifier.
inline Sense sense(uint8_t key, uint8_t asc, uint8_t ascq)
{
    return {0x70, 0, key, 0, 0, 0, 0, 10, 0, 0, 0, 0, asc, ascq};
}
const Sense kNoMedium = sense(2, 0x3A, 0), kInvalidOpcode = sense(5, 0x20, 0),
            kOutOfRange = sense(5, 0x21, 0), kInvalidField = sense(5, 0x24, 0),
            kIllegalModeForTrack = sense(5, 0x64, 0);

struct Reply
{
    Bytes data;                 // at most the command's allocation length
    std::optional<Sense> sense; // CHECK CONDITION
};

inline Reply answer(Bytes data, size_t allocation)
{
    data.resize(std::min(data.size(), allocation));
    return {std::move(data), std::nullopt};
}

} // namespace driveemulator
