// A disc's table of contents as the cueify C API reads it from a drive or a disc image,
// copied into plain values. Result codes stop here: above this unit there are values and
// UserErrors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantorcd {

struct TocTrack
{
    unsigned number = 0;
    unsigned session = 0;
    bool audio = true;          // the data bit of the CONTROL flags is clear
    uint32_t startLba = 0;      // logical block address of INDEX 01 (0 is the sector at 00:02:00)
    uint32_t lengthSectors = 0; // up to the next track's start or the session's lead-out
};

struct DiscToc
{
    std::string drive;
    std::vector<TocTrack> tracks;            // in track order
    std::vector<uint32_t> sessionLeadOutLba; // index 0 is session 1

    // Throws UserError when the disc has no such track.
    const TocTrack& track(unsigned number) const;
    unsigned audioTrackCount() const noexcept;
};

// Opens the drive, reads its full TOC and closes the drive again. Throws UserError naming the
// drive when it cannot be opened or holds no readable disc.
DiscToc readDiscToc(const std::string& drive);

} // namespace vantorcd
