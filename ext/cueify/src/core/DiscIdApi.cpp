// The disc-ID part of the C API over plain and full TOCs.
#include "core/DiscIdApi.h"

#include "core/DiscId.h"
#include "core/Handle.h"
#include "core/PlainToc.h"
#include "core/TocLookup.h"

// discid.h comes after the headers of the types it names, as the umbrella header has them.
#include <cueify/cueify.h>

#include <cstdlib>
#include <cstring>

namespace cueify {
namespace {

IdDisc fromPlainToc(const PlainToc& toc, uint8_t lastTrack, AbsoluteFrame leadOut)
{
    IdDisc disc;
    for (unsigned n = toc.firstTrack; n >= 1 && n <= lastTrack && n < toc.tracks.size(); ++n) {
        const PlainTocEntry& entry = toc.tracks[n];
        disc.tracks.push_back({static_cast<uint8_t>(n), toAbsolute(Lba{entry.lba}),
                               (entry.control & CUEIFY_TOC_TRACK_IS_DATA) != 0});
    }
    disc.leadOut = leadOut;
    return disc;
}

// With a record of several sessions, the tracks before the last session's first, ending one
// session gap before it; else every track up to the lead-out.
IdDisc fromPlainToc(const PlainToc& toc, const SessionsRecord* sessions)
{
    if (sessions && sessions->firstSession != sessions->lastSession && sessions->lastSessionTrackNumber > 0) {
        const uint32_t dataStart = toAbsolute(Lba{sessions->lastSessionFirstTrack.lba}).value;
        return fromPlainToc(toc, static_cast<uint8_t>(sessions->lastSessionTrackNumber - 1),
                            AbsoluteFrame{dataStart > kSessionGapFrames ? dataStart - kSessionGapFrames : 0});
    }
    return fromPlainToc(toc, toc.lastTrack, toAbsolute(Lba{toc.leadOut.lba}));
}

} // namespace

IdDisc idDiscOf(const FullTocData& toc, bool withLastSession)
{
    IdDisc disc;
    if (toc.sessions.empty())
        return disc;
    const bool dropLast = !withLastSession && toc.sessions.size() > 1;
    const TocSession& endSession = dropLast ? toc.sessions[toc.sessions.size() - 2] : toc.sessions.back();
    for (const TocTrack& track : toc.tracks) {
        if (track.session <= endSession.number)
            disc.tracks.push_back(
                {track.number, track.start, (track.control & CUEIFY_TOC_TRACK_IS_DATA) != 0});
    }
    disc.leadOut = endSession.leadOut;
    return disc;
}

char* copiedId(const std::string& id) noexcept
{
    char* copy = static_cast<char*>(std::malloc(id.size() + 1));
    if (copy)
        std::memcpy(copy, id.c_str(), id.size() + 1);
    return copy;
}

} // namespace cueify

using cueify::objectOf;

extern "C" {

uint32_t cueify_toc_get_freedb_id(cueify_toc* t, cueify_sessions* s)
{
    if (!t)
        return 0;
    return cueify::freedbId(
        cueify::fromPlainToc(*objectOf<cueify::PlainToc>(t), objectOf<cueify::SessionsRecord>(s)));
}

uint32_t cueify_full_toc_get_freedb_id(cueify_full_toc* t, int use_data_tracks)
{
    if (!t)
        return 0;
    return cueify::freedbId(cueify::idDiscOf(*objectOf<cueify::FullTocData>(t), use_data_tracks != 0));
}

char* cueify_toc_get_musicbrainz_id(cueify_toc* t, cueify_sessions* s)
{
    if (!t)
        return nullptr;
    try {
        const cueify::IdDisc disc =
            cueify::fromPlainToc(*objectOf<cueify::PlainToc>(t), objectOf<cueify::SessionsRecord>(s));
        return cueify::copiedId(cueify::musicbrainzId(cueify::withoutTrailingData(disc)));
    } catch (...) {
        return nullptr;
    }
}

char* cueify_full_toc_get_musicbrainz_id(cueify_full_toc* t)
{
    if (!t)
        return nullptr;
    try {
        const cueify::IdDisc disc = cueify::idDiscOf(*objectOf<cueify::FullTocData>(t), true);
        return cueify::copiedId(cueify::musicbrainzId(cueify::withoutTrailingData(disc)));
    } catch (...) {
        return nullptr;
    }
}

} // extern "C"
