#include "core/CdTextEntries.h"

#include <algorithm>

namespace cueify {

const std::string* CdTextEntries::resolve(size_t index) const noexcept
{
    for (size_t at = index + 1; at-- > 0;) {
        const std::string* entry = stored(at);
        if (!entry || *entry != "\t")
            return entry;
    }
    return nullptr;
}

const std::string* CdTextEntries::stored(size_t index) const noexcept
{
    return index < m_entries.size() && m_entries[index] ? &*m_entries[index] : nullptr;
}

bool CdTextEntries::hasText() const noexcept
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [](const std::optional<std::string>& entry) { return entry && !entry->empty(); });
}

} // namespace cueify
