// The disc in an emulated drive: its layout and sector contents as the disc-image writer
// describes them, and what a drive's TOC says about its tracks and sessions.
#pragma once

#include "mkdisc/DiscWriter.h"

#include <cstdint>
#include <optional>

namespace driveemulator {

struct DiscTrack
{
    uint8_t number = 0;
    uint8_t session = 0;
    uint8_t control = 0; // the Q sub-channel's CONTROL nibble
    mkdisc::TrackMode mode = mkdisc::TrackMode::Audio;
    uint32_t startLba = 0;
};

struct DiscSession
{
    uint8_t number = 0;
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    uint8_t type = 0; // the full TOC's disc type: 0x00 CD-DA or CD-ROM, 0x20 CD-ROM XA
    uint32_t leadOutLba = 0;
};

class EmulatedDisc
{
public:
    // Throws std::invalid_argument for a description no disc can have.
    explicit EmulatedDisc(mkdisc::DiscDescription description);

    const std::vector<DiscTrack>& tracks() const noexcept { return m_tracks; }
    const std::vector<DiscSession>& sessions() const noexcept { return m_sessions; }
    uint32_t lastLeadOutLba() const noexcept { return m_sessions.back().leadOutLba; }

    // The track whose pregap or body holds the sector; none in a lead-out or between sessions.
    const DiscTrack* trackAt(int64_t lba) const noexcept;

    // The raw sector as it was written; none outside every track.
    std::optional<mkdisc::Sector> sector(int64_t lba) const;

    // Audio as a drive with a read offset delivers it: the samples from readOffsetSamples after
    // the sector's first, silence where they lie outside the disc's tracks.
    mkdisc::Sector audioSector(int64_t lba, int readOffsetSamples) const;

private:
    mkdisc::DiscDescription m_description;
    std::vector<DiscTrack> m_tracks;
    std::vector<DiscSession> m_sessions;
};

} // namespace driveemulator
