#include "core/CdTextToc.h"

namespace cueify {

void CdTextToc::setStart(uint8_t track, cueify_msf_t start) noexcept
{
    if (track <= kLastTrackNumber)
        m_starts[track] = start;
}

cueify_msf_t CdTextToc::start(uint8_t track) const noexcept
{
    return track <= kLastTrackNumber ? m_starts[track] : cueify_msf_t{0, 0, 0};
}

void CdTextToc::setIntervalCount(uint8_t track, uint8_t count)
{
    if (track <= kLastTrackNumber)
        m_intervals[track].resize(count);
}

void CdTextToc::setInterval(uint8_t track, uint8_t number, CdTextInterval interval) noexcept
{
    if (track <= kLastTrackNumber && number >= 1 && number <= m_intervals[track].size())
        m_intervals[track][number - 1] = interval;
}

const std::vector<CdTextInterval>& CdTextToc::intervals(uint8_t track) const noexcept
{
    static const std::vector<CdTextInterval> kNone;
    return track <= kLastTrackNumber ? m_intervals[track] : kNone;
}

} // namespace cueify
