// The audio sectors of a run of audio tracks as rip-disc and rip read them: through the tracks'
// parsers, the sectors before track 1 straight through the cueify C API, and on a drive each
// sector confirmed by reading it again until two reads agree.
#pragma once

#include "DeliveredAudio.h"
#include "RawSectorReader.h"
#include "SecureRead.h"

namespace vantorcd {

class DriveAudio
{
public:
    // tracks, openParser and readFailureReason as for DeliveredAudio; raw reads what no parser
    // covers and the confirming reads. secure: confirm every sector a parser delivers.
    DriveAudio(std::vector<const TocTrack*> tracks, DeliveredAudio::OpenParser openParser,
               std::function<std::string()> readFailureReason, RawSectorReader raw, bool secure);
    DriveAudio(const DriveAudio&) = delete;
    DriveAudio& operator=(const DriveAudio&) = delete;

    // As DeliveredAudio::read; throws UserError naming a sector that never reads the same twice.
    void read(uint32_t lba, SectorBytes& sector) { m_delivered.read(lba, sector); }
    unsigned rereadsOf(unsigned track) const { return m_delivered.rereadsOf(track); }

private:
    RawSectorReader m_raw;
    DeliveredAudio m_delivered;
    SecureRead m_secure;
};

} // namespace vantorcd
