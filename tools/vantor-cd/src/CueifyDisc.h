// A disc's table of contents as the cueify C API reads it from a drive or a disc image,
// copied into plain values. Result codes stop here: above this unit there are values and
// UserErrors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorcd {

class DriveHandle;

// Title and performer from the disc's CD-Text, in UTF-8; empty where the disc has none.
struct CdTextNames
{
    std::string title;
    std::string performer;
};

struct TocTrack
{
    unsigned number = 0;
    unsigned session = 0;
    bool audio = true;          // the data bit of the CONTROL flags is clear
    uint32_t startLba = 0;      // logical block address of INDEX 01 (0 is the sector at 00:02:00)
    uint32_t lengthSectors = 0; // up to the next track's start or the session's lead-out

    // Read with the disc's identity only.
    std::string isrc;
    std::optional<uint32_t> pregapSectors; // INDEX 00 to INDEX 01; unknown where the drive cannot tell
    CdTextNames cdText;
};

// What names the disc: its IDs, catalogue number and CD-Text.
struct DiscIdentity
{
    std::string musicbrainzId;
    uint32_t freedbId = 0; // every track, data tracks included, up to the last lead-out
    std::string mcn;
    CdTextNames cdText;
};

struct DiscToc
{
    std::string drive;
    std::vector<TocTrack> tracks;            // in track order
    std::vector<uint32_t> sessionLeadOutLba; // index 0 is session 1
    DiscIdentity identity;                   // read with the identity only

    // Throws UserError when the disc has no such track.
    const TocTrack& track(unsigned number) const;
    unsigned audioTrackCount() const noexcept;
};

enum class DiscDetail
{
    Toc,     // the table of contents
    Identity // also the disc IDs, MCN, ISRCs, pregaps and CD-Text
};

// Opens the drive, reads its full TOC (and what detail asks for) and closes the drive again.
// Throws UserError naming the drive when it cannot be opened or holds no readable disc; what the
// disc does not carry of its identity stays empty.
DiscToc readDiscToc(const std::string& drive, DiscDetail detail = DiscDetail::Toc);

// The same from a drive opened already. Throws UserError naming the drive when it holds no
// readable disc.
DiscToc readDiscToc(const DriveHandle& handle, DiscDetail detail = DiscDetail::Toc);

} // namespace vantorcd
