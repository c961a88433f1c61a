// The plain-TOC and multisession parts of the C API over PlainToc and SessionsRecord.
#include "core/ApiGuard.h"
#include "core/Handle.h"
#include "core/PlainToc.h"

#include <cueify/sessions.h>
#include <cueify/toc.h>

#include <new>

using cueify::guardedCall;
using cueify::objectOf;
using cueify::PlainToc;
using cueify::PlainTocEntry;
using cueify::SessionsRecord;

namespace {

// The entry a track number names: first to last, or the lead-out.
const PlainTocEntry* entryOf(cueify_toc* t, uint8_t track) noexcept
{
    const PlainToc* toc = objectOf<PlainToc>(t);
    if (!toc)
        return nullptr;
    if (track == CUEIFY_LEAD_OUT_TRACK)
        return &toc->leadOut;
    if (track < toc->firstTrack || track > toc->lastTrack || track >= toc->tracks.size())
        return nullptr;
    return &toc->tracks[track];
}

const SessionsRecord* recordOf(cueify_sessions* s) noexcept
{
    return objectOf<SessionsRecord>(s);
}

} // namespace

extern "C" {

cueify_toc* cueify_toc_new(void)
{
    return cueify::handleTo<cueify_toc>(new (std::nothrow) PlainToc());
}

void cueify_toc_free(cueify_toc* t)
{
    delete objectOf<PlainToc>(t);
}

int cueify_toc_deserialize(cueify_toc* t, const uint8_t* const buffer, size_t size)
{
    if (!t || !buffer)
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { *objectOf<PlainToc>(t) = cueify::deserializePlainToc(buffer, size); });
}

int cueify_toc_serialize(cueify_toc* t, uint8_t* buffer, size_t* size)
{
    if (!t || !size)
        return CUEIFY_ERR_BADARG;
    return guardedCall(
        [&] { cueify::copySerialized(cueify::serialize(*objectOf<PlainToc>(t)), buffer, size); });
}

uint8_t cueify_toc_get_first_track(cueify_toc* t)
{
    return t ? objectOf<PlainToc>(t)->firstTrack : 0;
}

uint8_t cueify_toc_get_last_track(cueify_toc* t)
{
    return t ? objectOf<PlainToc>(t)->lastTrack : 0;
}

uint8_t cueify_toc_get_track_control_flags(cueify_toc* t, uint8_t track)
{
    const PlainTocEntry* entry = entryOf(t, track);
    return entry ? entry->control : 0;
}

uint8_t cueify_toc_get_track_sub_q_channel_format(cueify_toc* t, uint8_t track)
{
    const PlainTocEntry* entry = entryOf(t, track);
    return entry ? entry->adr : 0;
}

uint32_t cueify_toc_get_track_address(cueify_toc* t, uint8_t track)
{
    const PlainTocEntry* entry = entryOf(t, track);
    return entry ? entry->lba : 0;
}

uint32_t cueify_toc_get_track_length(cueify_toc* t, uint8_t track)
{
    const PlainTocEntry* entry = track == CUEIFY_LEAD_OUT_TRACK ? nullptr : entryOf(t, track);
    if (!entry)
        return 0;
    const PlainToc& toc = *objectOf<PlainToc>(t);
    const bool last = track == toc.lastTrack || track + 1u >= toc.tracks.size();
    const uint32_t end = last ? toc.leadOut.lba : toc.tracks[track + 1u].lba;
    return end > entry->lba ? end - entry->lba : 0;
}

cueify_sessions* cueify_sessions_new(void)
{
    return cueify::handleTo<cueify_sessions>(new (std::nothrow) SessionsRecord());
}

void cueify_sessions_free(cueify_sessions* s)
{
    delete objectOf<SessionsRecord>(s);
}

int cueify_sessions_deserialize(cueify_sessions* s, const uint8_t* const buffer, size_t size)
{
    if (!s || !buffer)
        return CUEIFY_ERR_BADARG;
    return guardedCall([&] { *objectOf<SessionsRecord>(s) = cueify::deserializeSessions(buffer, size); });
}

int cueify_sessions_serialize(cueify_sessions* s, uint8_t* buffer, size_t* size)
{
    if (!s || !size)
        return CUEIFY_ERR_BADARG;
    return guardedCall(
        [&] { cueify::copySerialized(cueify::serialize(*objectOf<SessionsRecord>(s)), buffer, size); });
}

uint8_t cueify_sessions_get_first_session(cueify_sessions* s)
{
    return s ? recordOf(s)->firstSession : 0;
}

uint8_t cueify_sessions_get_last_session(cueify_sessions* s)
{
    return s ? recordOf(s)->lastSession : 0;
}

uint8_t cueify_sessions_get_last_session_control_flags(cueify_sessions* s)
{
    return s ? recordOf(s)->lastSessionFirstTrack.control : 0;
}

uint8_t cueify_sessions_get_last_session_sub_q_channel_format(cueify_sessions* s)
{
    return s ? recordOf(s)->lastSessionFirstTrack.adr : 0;
}

uint8_t cueify_sessions_get_last_session_track_number(cueify_sessions* s)
{
    return s ? recordOf(s)->lastSessionTrackNumber : 0;
}

uint32_t cueify_sessions_get_last_session_address(cueify_sessions* s)
{
    return s ? recordOf(s)->lastSessionFirstTrack.lba : 0;
}

} // extern "C"
