#include "DeliveredAudio.h"

#include <cstring>
#include <stdexcept>

namespace vantorcd {

DeliveredAudio::DeliveredAudio(std::vector<const TocTrack*> tracks, OpenParser openParser,
                               std::function<std::string()> readFailureReason,
                               OffsetCorrection::ReadSector readBeforeTrackOne)
    : m_tracks(std::move(tracks)), m_openParser(std::move(openParser)),
      m_readFailureReason(std::move(readFailureReason)), m_readBeforeTrackOne(std::move(readBeforeTrackOne))
{
}

const TocTrack* DeliveredAudio::trackAt(uint32_t lba) const noexcept
{
    for (const TocTrack* track : m_tracks)
        if (lba >= track->startLba && lba - track->startLba < track->lengthSectors)
            return track;
    return nullptr;
}

void DeliveredAudio::openReaderOf(const TocTrack& track, uint32_t lba)
{
    if (m_current)
        m_rereads[m_current->number] += m_reader->rereads();
    const uint64_t samples = uint64_t{track.lengthSectors} * kSamplesPerSector;
    m_reader.emplace(m_openParser(track), TrackExtent{track.number, track.startLba, track.lengthSectors},
                     SampleRange{uint64_t{lba - track.startLba} * kSamplesPerSector, samples},
                     m_readFailureReason);
    m_current = &track;
    m_nextLba = lba;
}

void DeliveredAudio::read(uint32_t lba, SectorBytes& sector)
{
    const TocTrack* track = trackAt(lba);
    if (!track) {
        const TocTrack& first = *m_tracks.front();
        if (first.number == 1 && lba < first.startLba)
            m_readBeforeTrackOne(lba, sector);
        else
            sector.fill(0); // a data track's or the gap between sessions
        return;
    }
    if (track != m_current)
        openReaderOf(*track, lba);
    if (lba < m_nextLba)
        throw std::logic_error("delivered audio read backwards, to LBA " + std::to_string(lba));
    for (;;) {
        const PcmChunk chunk = m_reader->next();
        if (m_nextLba++ == lba) {
            std::memcpy(sector.data(), chunk.data, sector.size());
            if (m_confirm)
                m_rereads[track->number] += m_confirm(lba, sector, track->number);
            return;
        }
    }
}

unsigned DeliveredAudio::rereadsOf(unsigned track) const
{
    const auto earlier = m_rereads.find(track);
    const unsigned counted = earlier == m_rereads.end() ? 0 : earlier->second;
    return counted + (m_current && m_current->number == track ? m_reader->rereads() : 0);
}

} // namespace vantorcd
