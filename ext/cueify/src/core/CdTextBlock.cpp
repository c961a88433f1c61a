#include "core/CdTextBlock.h"

namespace cueify {

const std::string* CdTextBlock::text(CdTextKind kind, uint8_t track) const noexcept
{
    const std::optional<CdTextEntries>& entries = texts[static_cast<size_t>(kind)];
    if (!entries)
        return nullptr;
    if (track == 0)
        return entries->resolve(0);
    if (track < firstTrack || track > lastTrack)
        return nullptr;
    return entries->resolve(size_t{1} + track - firstTrack);
}

size_t CdTextBlock::entryCount() const noexcept
{
    return lastTrack >= firstTrack ? size_t{2} + lastTrack - firstTrack : 1;
}

} // namespace cueify
