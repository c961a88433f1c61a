#include "drive/ReadAhead.h"

#include <cstring>

namespace cueify {

bool ReadAhead::take(Lba lba, uint8_t* sector) noexcept
{
    if (m_taken >= m_held || lba.value != m_next.value) {
        drop();
        return false;
    }
    std::memcpy(sector, m_sectors.data() + static_cast<size_t>(m_taken) * kRawSectorBytes, kRawSectorBytes);
    ++m_taken;
    ++m_next.value;
    return true;
}

uint8_t* ReadAhead::prepare(Lba first, uint32_t count)
{
    drop();
    m_sectors.resize(static_cast<size_t>(count) * kRawSectorBytes);
    m_next = first;
    m_prepared = count;
    return m_sectors.data();
}

void ReadAhead::drop() noexcept
{
    m_held = m_taken = m_prepared = 0;
}

} // namespace cueify
