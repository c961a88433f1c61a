// The copy of the table of contents that CD-Text carries (packs 0x88 and 0x89): the tracks'
// starts, the lead-out and, per track, intervals. Addresses are absolute MSF as the packs hold them.
#pragma once

#include <cueify/types.h>

#include <array>
#include <cstdint>
#include <vector>

namespace cueify {

struct CdTextInterval
{
    cueify_msf_t start{};
    cueify_msf_t end{};
};

class CdTextToc
{
public:
    static constexpr uint8_t kLastTrackNumber = 99;

    uint8_t firstTrack = 0; // 0: the CD-Text holds no TOC
    uint8_t lastTrack = 0;
    cueify_msf_t leadOut{};

    bool isSet() const noexcept { return firstTrack != 0; }
    bool holdsTrack(uint8_t track) const noexcept { return track >= firstTrack && track <= lastTrack; }

    // Tracks outside 1..99 are ignored by the setters and answer 0 or nothing.
    void setStart(uint8_t track, cueify_msf_t start) noexcept;
    cueify_msf_t start(uint8_t track) const noexcept;

    // Numbers count from 1.
    void setIntervalCount(uint8_t track, uint8_t count);
    void setInterval(uint8_t track, uint8_t number, CdTextInterval interval) noexcept;
    const std::vector<CdTextInterval>& intervals(uint8_t track) const noexcept;

private:
    std::array<cueify_msf_t, kLastTrackNumber + 1> m_starts{};
    std::array<std::vector<CdTextInterval>, kLastTrackNumber + 1> m_intervals;
};

} // namespace cueify
