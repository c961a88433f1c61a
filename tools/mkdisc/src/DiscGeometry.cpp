#include "DiscGeometry.h"

#include "DescriptionCheck.h"
#include "mkdisc/DiscWriter.h"

#include <cstdio>
#include <stdexcept>

namespace mkdisc {
namespace {

// 99:59:74, the last address that a sector header's BCD digits and a CUE time can hold.
constexpr uint64_t kLastAbsoluteFrame = 100 * 60 * kFramesPerSecond - 1;

uint32_t checkedLba(uint64_t lba)
{
    if (lba + kLeadInFrames > kLastAbsoluteFrame)
        throw std::invalid_argument("the disc does not fit in 99:59:74");
    return static_cast<uint32_t>(lba);
}

std::string dataFileName(const DiscDescription& description, unsigned trackNumber)
{
    const char* extension = description.format == DataFileFormat::Wave ? ".wav" : ".bin";
    if (!description.filePerTrack)
        return description.name + extension;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, " (Track %02u)%s", trackNumber, extension);
    return description.name + suffix;
}

class TrackPlacer
{
public:
    explicit TrackPlacer(const DiscDescription& description) : m_description(description) {}

    DiscGeometry placeAll()
    {
        for (size_t session = 0; session < m_description.sessions.size(); ++session) {
            if (session > 0)
                m_nextLba += kSessionGapFrames;
            for (const TrackDescription& track : m_description.sessions[session].tracks)
                m_geometry.tracks.push_back(place(track, static_cast<uint8_t>(session + 1)));
            m_geometry.sessionLeadOutLba.push_back(checkedLba(m_nextLba));
        }
        return std::move(m_geometry);
    }

private:
    TrackPlacement place(const TrackDescription& track, uint8_t session)
    {
        TrackPlacement placement;
        placement.description = track;
        placement.number = static_cast<uint8_t>(m_geometry.tracks.size() + 1);
        placement.session = session;
        placement.silentPregapLba = checkedLba(m_nextLba);
        placement.storedPregapLba = checkedLba(m_nextLba += track.silentPregapSectors);
        placement.startLba = checkedLba(m_nextLba += track.storedPregapSectors);
        placement.endLba = checkedLba(m_nextLba += track.sectors);
        placeInFile(placement);
        return placement;
    }

    void placeInFile(TrackPlacement& placement)
    {
        if (m_description.filePerTrack || m_geometry.dataFileNames.empty())
            m_geometry.dataFileNames.push_back(dataFileName(m_description, placement.number));
        if (m_description.filePerTrack)
            m_fileSector = 0;
        placement.fileIndex = m_geometry.dataFileNames.size() - 1;
        placement.fileSector = static_cast<uint32_t>(m_fileSector);
        m_fileSector += placement.endLba - placement.storedPregapLba;
    }

    const DiscDescription& m_description;
    DiscGeometry m_geometry;
    uint64_t m_nextLba = 0;
    uint64_t m_fileSector = 0;
};

uint32_t tocLength(const DiscGeometry& geometry, size_t index)
{
    const TrackPlacement& track = geometry.tracks[index];
    const bool lastOfSession =
        index + 1 == geometry.tracks.size() || geometry.tracks[index + 1].session != track.session;
    const uint32_t end =
        lastOfSession ? geometry.sessionLeadOutLba[track.session - 1u] : geometry.tracks[index + 1].startLba;
    return end - track.startLba;
}

} // namespace

DiscGeometry placeTracks(const DiscDescription& description)
{
    checkDescription(description);
    return TrackPlacer(description).placeAll();
}

DiscLayout layoutOf(const DiscDescription& description)
{
    const DiscGeometry geometry = placeTracks(description);
    DiscLayout layout;
    for (size_t i = 0; i < geometry.tracks.size(); ++i) {
        const TrackPlacement& track = geometry.tracks[i];
        layout.tracks.push_back({track.number, track.session, track.description.mode == TrackMode::Audio,
                                 track.startLba, tocLength(geometry, i)});
    }
    layout.sessionLeadOutLba = geometry.sessionLeadOutLba;
    return layout;
}

} // namespace mkdisc
