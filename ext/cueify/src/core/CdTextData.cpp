#include "core/CdTextData.h"

namespace cueify {

size_t CdTextData::blockCount() const noexcept
{
    size_t count = 0;
    for (const std::optional<CdTextBlock>& block : blocks)
        count += block.has_value();
    return count;
}

const CdTextBlock* CdTextData::heldBlock(size_t index) const noexcept
{
    for (const std::optional<CdTextBlock>& block : blocks) {
        if (block && index-- == 0)
            return &*block;
    }
    return nullptr;
}

} // namespace cueify
