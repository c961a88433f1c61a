#include "EmulatedDisc.h"

#include <algorithm>
#include <cstring>
#include <discgeometry/DiscGeometry.h>
#include <stdexcept>

namespace driveemulator {
namespace {

// Signed, because a read offset moves byte positions before the disc's first.
constexpr int64_t kBytesPerSample = discgeometry::kBytesPerSample;
constexpr int64_t kSectorBytes = discgeometry::kRawSectorBytes;
constexpr uint8_t kDataTrack = 0x4, kCopyPermitted = 0x2, kPreEmphasis = 0x1, kFourChannel = 0x8;
constexpr uint8_t kTypeCdRom = 0x00, kTypeCdRomXa = 0x20;

uint8_t controlOf(const mkdisc::TrackDescription& track)
{
    return static_cast<uint8_t>((track.mode != mkdisc::TrackMode::Audio ? kDataTrack : 0) |
                                (track.digitalCopyPermitted ? kCopyPermitted : 0) |
                                (track.preEmphasis ? kPreEmphasis : 0) |
                                (track.fourChannel ? kFourChannel : 0));
}

} // namespace

EmulatedDisc::EmulatedDisc(mkdisc::DiscDescription description) : m_description(std::move(description))
{
    const mkdisc::DiscLayout layout = mkdisc::layoutOf(m_description);
    size_t index = 0;
    for (size_t s = 0; s < m_description.sessions.size(); ++s) {
        DiscSession session{static_cast<uint8_t>(s + 1), 0, 0, kTypeCdRom, layout.sessionLeadOutLba[s]};
        for (const mkdisc::TrackDescription& written : m_description.sessions[s].tracks) {
            const mkdisc::TrackLayout& placed = layout.tracks[index++];
            m_tracks.push_back(
                {placed.number, placed.session, controlOf(written), written.mode, placed.startLba});
            session.firstTrack = session.firstTrack == 0 ? placed.number : session.firstTrack;
            session.lastTrack = placed.number;
            if (written.mode == mkdisc::TrackMode::Mode2Raw)
                session.type = kTypeCdRomXa;
        }
        m_sessions.push_back(session);
    }
}

const DiscTrack* EmulatedDisc::trackAt(int64_t lba) const noexcept
{
    for (const DiscSession& session : m_sessions) {
        const int64_t areaStart = session.number == 1 ? 0
                                                      : int64_t{m_sessions[session.number - 2u].leadOutLba} +
                                                            mkdisc::kSessionGapFrames;
        if (lba < areaStart || lba >= session.leadOutLba)
            continue;
        // Sectors before a session's first track are that track's pregap.
        const DiscTrack* holder = &m_tracks[session.firstTrack - 1u];
        for (const DiscTrack& track : m_tracks)
            if (track.session == session.number && track.startLba <= lba)
                holder = &track;
        return holder;
    }
    return nullptr;
}

std::optional<mkdisc::Sector> EmulatedDisc::sector(int64_t lba) const
{
    if (lba < 0 || lba > UINT32_MAX)
        return std::nullopt;
    try {
        return mkdisc::sectorAt(m_description, static_cast<uint32_t>(lba));
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

mkdisc::Sector EmulatedDisc::audioSector(int64_t lba, int readOffsetSamples) const
{
    // A drive whose audio starts late delivers at each place what the disc holds that much earlier.
    const int64_t firstByte = lba * kSectorBytes - readOffsetSamples * kBytesPerSample;
    mkdisc::Sector shifted{};
    for (int64_t done = 0; done < kSectorBytes;) {
        const int64_t byte = firstByte + done;
        const int64_t source = (byte >= 0 ? byte : byte - kSectorBytes + 1) / kSectorBytes; // rounded down
        const int64_t within = byte - source * kSectorBytes;
        const int64_t count = std::min(kSectorBytes - within, kSectorBytes - done);
        const DiscTrack* track = trackAt(source);
        const std::optional<mkdisc::Sector> content =
            track != nullptr && track->mode == mkdisc::TrackMode::Audio ? sector(source) : std::nullopt;
        if (content)
            std::memcpy(shifted.data() + done, content->data() + within, static_cast<size_t>(count));
        done += count;
    }
    return shifted;
}

} // namespace driveemulator
