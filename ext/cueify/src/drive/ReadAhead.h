// Sectors a drive delivered in one command ahead of the requests for them. They are served only
// while the requests go on in order, each sector once: any other request drops them.
#pragma once

#include "core/Addressing.h"

#include <cstdint>
#include <vector>

namespace cueify {

class ReadAhead
{
public:
    // Copies the sector and moves on when it is the next one held; otherwise drops them all.
    bool take(Lba lba, uint8_t* sector) noexcept;

    // Room for count whole sectors from first; nothing is served from it until filled.
    // Throws std::bad_alloc only.
    uint8_t* prepare(Lba first, uint32_t count);
    void filled() noexcept { m_held = m_prepared; }

    void drop() noexcept;

private:
    std::vector<uint8_t> m_sectors;
    Lba m_next{0};
    uint32_t m_prepared = 0;
    uint32_t m_held = 0; // of m_sectors, from m_taken on, still to be served
    uint32_t m_taken = 0;
};

} // namespace cueify
