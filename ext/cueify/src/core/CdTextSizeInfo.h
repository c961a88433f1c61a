// The size information of a block: the 36 data bytes of its three 0x8F packs. They give the
// block's character set, tracks and flags, the packs of each type in the block, and for all
// eight blocks the last sequence number and the language.
#pragma once

#include "core/CdTextBlock.h"
#include "core/CdTextData.h"
#include "core/CdTextPack.h"

#include <array>
#include <cstdint>
#include <vector>

namespace cueify {

constexpr size_t kSizeInfoPacks = 3;
constexpr size_t kSizeInfoBytes = kSizeInfoPacks * kPackDataBytes;
using SizeInfoBytes = std::array<uint8_t, kSizeInfoBytes>;

// What the size information says about the block of that number, its texts aside.
// Throws Failure (CUEIFY_ERR_CORRUPTED) when its tracks are no range of 1..99.
CdTextBlock blockOfSizeInfo(const SizeInfoBytes& bytes, uint8_t blockNumber);

struct BlockSummary
{
    std::array<uint8_t, 16> packCounts{}; // types 0x80 to 0x8F, the size information's own included
    std::array<uint8_t, kCdTextBlocks> lastSequences{};
    std::array<uint8_t, kCdTextBlocks> languages{};
};

// The three packs of the block numbered blockNumber.
std::vector<CdTextPack> sizeInfoPacks(const CdTextBlock& block, uint8_t blockNumber,
                                      const BlockSummary& summary);

} // namespace cueify
