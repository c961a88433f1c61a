// The strings of one kind of CD-Text (titles, performers, ...) in one block: the disc's first,
// then one per track of the block, in track order.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace cueify {

class CdTextEntries
{
public:
    CdTextEntries() = default;
    explicit CdTextEntries(std::vector<std::optional<std::string>> entries) noexcept
        : m_entries(std::move(entries))
    {
    }

    // The entry at index (0 for the disc), where an entry of a single TAB stands for the entry
    // before it, so the first track's TAB gives the disc's text. Null for a missing entry.
    const std::string* resolve(size_t index) const noexcept;

    // The entry as stored, TAB included; null when missing.
    const std::string* stored(size_t index) const noexcept;

    // True when any entry holds text: a kind whose entries are all empty is not written.
    bool hasText() const noexcept;

    size_t size() const noexcept { return m_entries.size(); }

private:
    std::vector<std::optional<std::string>> m_entries;
};

} // namespace cueify
