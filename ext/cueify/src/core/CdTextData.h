// The CD-Text of a disc: up to eight blocks, numbered 0 to 7, and the CD-Text copy of its TOC.
#pragma once

#include "core/CdTextBlock.h"
#include "core/CdTextToc.h"

#include <array>
#include <cstddef>
#include <optional>

namespace cueify {

constexpr size_t kCdTextBlocks = 8;

struct CdTextData
{
    std::array<std::optional<CdTextBlock>, kCdTextBlocks> blocks; // by block number
    CdTextToc toc;

    size_t blockCount() const noexcept;

    // The index-th block held, in ascending block numbers, or null.
    const CdTextBlock* heldBlock(size_t index) const noexcept;
};

} // namespace cueify
