#include "image/ImageLayout.h"

#include "core/Failure.h"

#include <cueify/constants.h>
#include <cueify/full_toc.h>

namespace cueify {
namespace {

// 99:59:74, the last address a CUE sheet or a sector header can write.
constexpr uint64_t kLastAbsoluteFrame = 100 * kFramesPerMinute - 1;

class ImageLayouter
{
public:
    ImageLayouter(const CueSheet& sheet, const std::vector<uint64_t>& fileBytes, const std::string& sheetName)
        : m_sheet(sheet), m_fileBytes(fileBytes), m_sheetName(sheetName),
          m_indexAddresses(sheet.tracks.size()), m_pregapStarts(sheet.tracks.size())
    {
        for (const CueTrack& track : sheet.tracks)
            m_indexAddresses[&track - sheet.tracks.data()].resize(track.indices.size());
    }

    ImageLayout layOut()
    {
        for (size_t file = 0; file < m_sheet.files.size(); ++file)
            placeFile(file);
        if (m_current)
            finishTrack(*m_current);
        closeSession();
        fillTocTracks();
        m_layout.toc.firstSession = 1;
        m_layout.toc.lastSession = static_cast<uint8_t>(m_layout.toc.sessions.size());
        m_layout.end = Lba{checked(m_cursor)};
        return std::move(m_layout);
    }

private:
    [[noreturn]] void failAt(size_t line, const std::string& what) const
    {
        throw Failure(CUEIFY_ERR_NO_DEVICE, m_sheetName + ":" + std::to_string(line) + ": " + what);
    }

    std::string quotedName(size_t file) const { return "'" + m_sheet.files[file].name + "'"; }

    uint32_t checked(uint64_t lba) const
    {
        if (lba + kLeadInFrames > kLastAbsoluteFrame)
            throw Failure(CUEIFY_ERR_NO_DEVICE, m_sheetName + ": the disc would last longer than 99:59:74");
        return static_cast<uint32_t>(lba);
    }

    FilePosition startOf(const CueTrack& track) const
    {
        return track.opensFile ? FilePosition{track.file, FileSector{0}} : track.indices.front().position;
    }

    // Walks one file from its start: each track that starts in it takes over from there.
    void placeFile(size_t file)
    {
        uint64_t frame = 0;
        uint64_t offset = 0; // bytes of the file placed so far
        for (size_t t = 0; t < m_sheet.tracks.size(); ++t) {
            const FilePosition start = startOf(m_sheet.tracks[t]);
            if (start.file != file)
                continue;
            const uint64_t sectors = start.frame.value - frame;
            if (sectors > 0 && !m_current)
                failAt(m_sheet.files[file].line,
                       "FILE " + quotedName(file) + " holds sectors before the first track");
            if (sectors > 0)
                placeRun(file, frame, sectors, offset);
            startTrack(t);
            frame = start.frame.value;
        }
        if (!m_current)
            failAt(m_sheet.files[file].line, "FILE " + quotedName(file) + " comes before the first track");
        const uint32_t sectorBytes = storedSectorBytes(m_sheet.tracks[*m_current].mode);
        const uint64_t left = m_fileBytes[file] > offset ? m_fileBytes[file] - offset : 0;
        placeRun(file, frame, left / sectorBytes, offset);
    }

    // Sectors of the current track from a file, at frame of the file and offset bytes into it.
    void placeRun(size_t file, uint64_t frame, uint64_t sectors, uint64_t& offset)
    {
        const CueTrack& track = m_sheet.tracks[*m_current];
        const uint64_t bytes = sectors * storedSectorBytes(track.mode);
        if (offset + bytes > m_fileBytes[file])
            failAt(m_sheet.tracks[*m_current + 1].line, "track " + std::to_string(track.number + 1) +
                                                            " starts past the end of " + quotedName(file));
        addressIndices(file, frame, sectors);
        addExtent(sectors, file, offset, track.mode);
        offset += bytes;
    }

    void addressIndices(size_t file, uint64_t frame, uint64_t sectors)
    {
        for (size_t t = 0; t < m_sheet.tracks.size(); ++t) {
            const std::vector<CueIndex>& indices = m_sheet.tracks[t].indices;
            for (size_t i = 0; i < indices.size(); ++i) {
                const FilePosition& at = indices[i].position;
                if (at.file == file && at.frame.value >= frame && at.frame.value - frame < sectors)
                    m_indexAddresses[t][i] = toAbsolute(Lba{checked(m_cursor + at.frame.value - frame)});
            }
        }
    }

    void addExtent(uint64_t sectors, std::optional<size_t> file, uint64_t fileOffset, TrackMode mode)
    {
        if (sectors == 0)
            return;
        const uint32_t start = checked(m_cursor);
        m_cursor += sectors;
        checked(m_cursor);
        m_layout.extents.push_back({Lba{start}, static_cast<uint32_t>(sectors), file, fileOffset, mode});
    }

    void startTrack(size_t t)
    {
        const CueTrack& track = m_sheet.tracks[t];
        if (m_current) {
            finishTrack(*m_current);
            if (track.session != m_sheet.tracks[*m_current].session) {
                closeSession();
                m_cursor += kSessionGapFrames; // no data file holds the gap
            }
        }
        m_current = t;
        m_pregapStarts[t] = toAbsolute(Lba{checked(m_cursor)});
        addExtent(track.pregap.value, std::nullopt, 0, track.mode);
    }

    void finishTrack(size_t t)
    {
        addExtent(m_sheet.tracks[t].postgap.value, std::nullopt, 0, m_sheet.tracks[t].mode);
    }

    void closeSession()
    {
        TocSession session;
        session.number = static_cast<uint8_t>(m_layout.toc.sessions.size() + 1);
        session.type = CUEIFY_SESSION_MODE_1;
        for (const CueTrack& track : m_sheet.tracks) {
            if (track.session != session.number)
                continue;
            if (session.firstTrack == 0)
                session.firstTrack = track.number;
            session.lastTrack = track.number;
            if (track.mode == TrackMode::Mode2Raw || track.mode == TrackMode::Mode2Body ||
                track.mode == TrackMode::Mode2Form1 || track.mode == TrackMode::Mode2Form2)
                session.type = CUEIFY_SESSION_MODE_2;
        }
        session.leadOut = toAbsolute(Lba{checked(m_cursor)});
        m_layout.toc.sessions.push_back(session);
    }

    void fillTocTracks()
    {
        for (size_t t = 0; t < m_sheet.tracks.size(); ++t) {
            const CueTrack& track = m_sheet.tracks[t];
            std::vector<IndexAddress> addresses;
            for (size_t i = 0; i < track.indices.size(); ++i) {
                if (!m_indexAddresses[t][i])
                    failAt(track.indices[i].line,
                           "INDEX " + std::string(track.indices[i].number < 10 ? "0" : "") +
                               std::to_string(track.indices[i].number) + " of track " +
                               std::to_string(track.number) + " lies past the end of " +
                               quotedName(track.indices[i].position.file));
                addresses.push_back({track.indices[i].number, *m_indexAddresses[t][i]});
            }
            // Generated silence before the track is its pregap, as the Q sub-channel would say.
            if (track.pregap.value > 0) {
                if (addresses.empty() || addresses.front().number != 0)
                    addresses.insert(addresses.begin(), IndexAddress{0, {}});
                addresses.front().address = m_pregapStarts[t];
            }
            TocTrack tocTrack;
            tocTrack.number = track.number;
            tocTrack.session = track.session;
            tocTrack.control =
                static_cast<uint8_t>(track.flags | (isDataMode(track.mode) ? CUEIFY_TOC_TRACK_IS_DATA : 0));
            tocTrack.start = startAddress(addresses);
            if (!m_layout.toc.tracks.empty() &&
                tocTrack.start.value <= m_layout.toc.tracks.back().start.value)
                failAt(track.line, "track " + std::to_string(track.number) + " starts where track " +
                                       std::to_string(track.number - 1) + " starts");
            m_layout.toc.tracks.push_back(tocTrack);
            m_layout.indices.push_back(std::move(addresses));
        }
    }

    static AbsoluteFrame startAddress(const std::vector<IndexAddress>& addresses)
    {
        for (const IndexAddress& index : addresses) {
            if (index.number == 1)
                return index.address;
        }
        return {};
    }

    const CueSheet& m_sheet;
    const std::vector<uint64_t>& m_fileBytes;
    const std::string& m_sheetName;
    std::vector<std::vector<std::optional<AbsoluteFrame>>> m_indexAddresses;
    std::vector<AbsoluteFrame> m_pregapStarts; // where each track's generated pregap begins
    ImageLayout m_layout;
    std::optional<size_t> m_current; // the track whose sectors are being placed
    uint64_t m_cursor = 0;           // logical block address of the next sector to place
};

} // namespace

ImageLayout layOutImage(const CueSheet& sheet, const std::vector<uint64_t>& fileBytes,
                        const std::string& sheetName)
{
    return ImageLayouter(sheet, fileBytes, sheetName).layOut();
}

} // namespace cueify
