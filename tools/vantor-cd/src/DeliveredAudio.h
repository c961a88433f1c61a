// The audio sectors a drive or image delivers, across all the disc's audio tracks, read in order
// through each track's parser. A parser covers its own track only; the reads that offset
// correction makes across a track's edge go on in the neighbouring track's parser.
#pragma once

#include "CueifyDisc.h"
#include "OffsetCorrection.h"
#include "PcmReader.h"

#include "Vantor/Proc/IParser.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantorcd {

class DeliveredAudio
{
public:
    using OpenParser = std::function<Vantor::SP<Vantor::Proc::IParser>(const TocTrack&)>;

    // tracks: the audio tracks in disc order. readFailureReason as for PcmReader. readBeforeTrackOne
    // reads the sectors before track 1's INDEX 01 when the disc starts with an audio track.
    DeliveredAudio(std::vector<const TocTrack*> tracks, OpenParser openParser,
                   std::function<std::string()> readFailureReason,
                   OffsetCorrection::ReadSector readBeforeTrackOne);

    // The sector at lba, which is not below the last one read; a sector of no audio track reads
    // as silence. Throws what PcmReader throws.
    void read(uint32_t lba, SectorBytes& sector);

    // Makes every sector read from a track's parser go through confirm, which may replace it and
    // returns the reads it made after the first; used on drives, not on images.
    void confirmEachSector(std::function<unsigned(uint32_t lba, SectorBytes& sector, unsigned track)> confirm)
    {
        m_confirm = std::move(confirm);
    }

    // Sector reads of that track tried again after a failure or to confirm a sector.
    unsigned rereadsOf(unsigned track) const;

private:
    const TocTrack* trackAt(uint32_t lba) const noexcept;
    // Reads the track from lba on.
    void openReaderOf(const TocTrack& track, uint32_t lba);

    std::vector<const TocTrack*> m_tracks;
    OpenParser m_openParser;
    std::function<std::string()> m_readFailureReason;
    OffsetCorrection::ReadSector m_readBeforeTrackOne;
    std::function<unsigned(uint32_t, SectorBytes&, unsigned)> m_confirm;
    const TocTrack* m_current = nullptr; // the track m_reader reads
    std::optional<PcmReader> m_reader;
    uint32_t m_nextLba = 0;                 // the sector m_reader delivers next
    std::map<unsigned, unsigned> m_rereads; // of the tracks read before m_current
};

} // namespace vantorcd
