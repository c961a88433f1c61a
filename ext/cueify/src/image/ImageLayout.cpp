#include "image/ImageLayout.h"

#include "image/ImageError.h"

#include <cueify/constants.h>

namespace cueify {
namespace {

// 99:59:74, the last address a CUE sheet or a sector header can write.
constexpr uint64_t kLastAbsoluteFrame = 100 * kFramesPerMinute - 1;

class ImageLayouter
{
public:
    ImageLayouter(const std::vector<ImageTrack>& tracks, const std::vector<uint64_t>& fileSectorCounts)
        : m_tracks(tracks), m_fileSectorCounts(fileSectorCounts)
    {
    }

    ImageLayout layOut()
    {
        for (size_t i = 0; i < m_tracks.size(); ++i) {
            if (i > 0 && m_tracks[i].session != m_tracks[i - 1].session)
                startNextSession();
            place(i);
        }
        closeSession();
        m_layout.toc.firstSession = 1;
        m_layout.toc.lastSession = static_cast<uint8_t>(m_layout.toc.sessions.size());
        m_layout.end = Lba{checked(m_cursor)};
        return std::move(m_layout);
    }

private:
    bool opensFile(size_t i) const { return i == 0 || m_tracks[i - 1].file != m_tracks[i].file; }

    FileSector regionStart(size_t i) const
    {
        if (opensFile(i))
            return FileSector{0};
        return m_tracks[i].index0 ? *m_tracks[i].index0 : m_tracks[i].index1;
    }

    FileSector regionEnd(size_t i) const
    {
        if (i + 1 < m_tracks.size() && !opensFile(i + 1))
            return regionStart(i + 1);
        return FileSector{m_fileSectorCounts.at(m_tracks[i].file)};
    }

    static uint32_t checked(uint64_t lba)
    {
        if (lba + kLeadInFrames > kLastAbsoluteFrame)
            throw ImageError("disc image longer than 99:59:74");
        return static_cast<uint32_t>(lba);
    }

    void addExtent(uint64_t sectors, std::optional<size_t> file, FileSector fileStart)
    {
        if (sectors == 0)
            return;
        const uint32_t start = checked(m_cursor);
        m_cursor += sectors;
        checked(m_cursor);
        m_layout.extents.push_back({Lba{start}, static_cast<uint32_t>(sectors), file, fileStart});
    }

    void place(size_t i)
    {
        const ImageTrack& track = m_tracks[i];
        const FileSector start = regionStart(i);
        const FileSector end = regionEnd(i);
        if (track.index0 && track.index0->value > track.index1.value)
            throw ImageError("INDEX 00 after INDEX 01");
        if (track.index1.value < start.value || track.index1.value >= end.value)
            throw ImageError("track does not fit its data file");
        addExtent(track.silentPregap.value, std::nullopt, {});
        addTocTrack(track, m_cursor + (track.index1.value - start.value));
        addExtent(end.value - start.value, track.file, start);
        addExtent(track.silentPostgap.value, std::nullopt, {});
    }

    void addTocTrack(const ImageTrack& track, uint64_t startLba)
    {
        const bool data = track.kind != TrackKind::Audio;
        TocTrack tocTrack;
        tocTrack.number = track.number;
        tocTrack.session = track.session;
        tocTrack.control = static_cast<uint8_t>(track.flags | (data ? CUEIFY_TOC_TRACK_IS_DATA : 0));
        tocTrack.start = toAbsolute(Lba{checked(startLba)});
        m_layout.toc.tracks.push_back(tocTrack);
        if (m_firstTrackOfSession == 0)
            m_firstTrackOfSession = track.number;
        if (track.kind == TrackKind::Mode2)
            m_sessionType = CUEIFY_SESSION_MODE_2;
    }

    void closeSession()
    {
        TocSession session;
        session.number = static_cast<uint8_t>(m_layout.toc.sessions.size() + 1);
        session.firstTrack = m_firstTrackOfSession;
        session.lastTrack = m_layout.toc.tracks.back().number;
        session.type = m_sessionType;
        session.leadOut = toAbsolute(Lba{checked(m_cursor)});
        m_layout.toc.sessions.push_back(session);
        m_firstTrackOfSession = 0;
        m_sessionType = CUEIFY_SESSION_MODE_1;
    }

    void startNextSession()
    {
        closeSession();
        m_cursor += kSessionGapSectors;
    }

    const std::vector<ImageTrack>& m_tracks;
    const std::vector<uint64_t>& m_fileSectorCounts;
    ImageLayout m_layout;
    uint64_t m_cursor = 0; // logical block address of the next sector to place
    uint8_t m_firstTrackOfSession = 0;
    uint8_t m_sessionType = CUEIFY_SESSION_MODE_1;
};

} // namespace

ImageLayout layOutImage(const std::vector<ImageTrack>& tracks, const std::vector<uint64_t>& fileSectorCounts)
{
    if (tracks.empty())
        throw ImageError("disc image without tracks");
    return ImageLayouter(tracks, fileSectorCounts).layOut();
}

} // namespace cueify
