// CD-Text as packs, in the layout readCdTextPacks reads.
#pragma once

#include "core/CdTextData.h"

#include <cstdint>
#include <vector>

namespace cueify {

// The header and the packs: per block, types 0x80 to 0x8F in ascending order, the TOC in block
// 0 only, the size information last. Sequence numbers restart in every block. Throws Failure
// (CUEIFY_ERR_INVALID_CDTEXT) for more than 256 packs in a block or 2048 in all.
std::vector<uint8_t> writeCdTextPacks(const CdTextData& cdText);

} // namespace cueify
