// The full-TOC part of the C API: plain reads of a FullTocData that never fail.
#include "core/FullTocHandle.h"
#include "core/TocLookup.h"

#include <cueify/full_toc.h>

#include <new>

using cueify::FullTocData;
using cueify::TocSession;
using cueify::TocTrack;

namespace {

const TocTrack* trackOf(cueify_full_toc* t, uint8_t track) noexcept
{
    return t ? cueify::findTrack(*cueify::tocDataOf(t), track) : nullptr;
}

const TocSession* sessionOf(cueify_full_toc* t, uint8_t session) noexcept
{
    return t ? cueify::findSession(*cueify::tocDataOf(t), session) : nullptr;
}

// The A0, A1 or lead-out entry of a session, by the point that names it.
const cueify::TocPoint* pointOf(cueify_full_toc* t, uint8_t session, uint8_t point) noexcept
{
    const TocSession* entry = sessionOf(t, session);
    if (!entry)
        return nullptr;
    switch (point) {
    case CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK:
        return &entry->firstTrackPoint;
    case CUEIFY_FULL_TOC_LAST_TRACK_PSEUDOTRACK:
        return &entry->lastTrackPoint;
    case CUEIFY_LEAD_OUT_TRACK:
        return &entry->leadOutPoint;
    default:
        return nullptr;
    }
}

} // namespace

extern "C" {

uint8_t cueify_full_toc_get_session_control_flags(cueify_full_toc* t, uint8_t session, uint8_t point)
{
    const cueify::TocPoint* entry = pointOf(t, session, point);
    return entry ? entry->control : 0;
}

uint8_t cueify_full_toc_get_session_sub_q_channel_format(cueify_full_toc* t, uint8_t session, uint8_t point)
{
    const cueify::TocPoint* entry = pointOf(t, session, point);
    return entry ? entry->subQFormat : 0;
}

cueify_msf_t cueify_full_toc_get_point_address(cueify_full_toc* t, uint8_t session, uint8_t point)
{
    if (const TocTrack* track = trackOf(t, point))
        return cueify::toMsf(track->atime);
    const cueify::TocPoint* entry = pointOf(t, session, point);
    return entry ? cueify::toMsf(entry->atime) : cueify_msf_t{0, 0, 0};
}

cueify_full_toc* cueify_full_toc_new(void)
{
    return cueify::handleOf(new (std::nothrow) FullTocData());
}

void cueify_full_toc_free(cueify_full_toc* t)
{
    delete cueify::tocDataOf(t);
}

uint8_t cueify_full_toc_get_first_session(cueify_full_toc* t)
{
    return t ? cueify::tocDataOf(t)->firstSession : 0;
}

uint8_t cueify_full_toc_get_last_session(cueify_full_toc* t)
{
    return t ? cueify::tocDataOf(t)->lastSession : 0;
}

uint8_t cueify_full_toc_get_session_first_track(cueify_full_toc* t, uint8_t session)
{
    const TocSession* found = sessionOf(t, session);
    return found ? found->firstTrack : 0;
}

uint8_t cueify_full_toc_get_session_last_track(cueify_full_toc* t, uint8_t session)
{
    const TocSession* found = sessionOf(t, session);
    return found ? found->lastTrack : 0;
}

uint8_t cueify_full_toc_get_session_type(cueify_full_toc* t, uint8_t session)
{
    const TocSession* found = sessionOf(t, session);
    return found ? found->type : 0;
}

cueify_msf_t cueify_full_toc_get_session_leadout_address(cueify_full_toc* t, uint8_t session)
{
    const TocSession* found = sessionOf(t, session);
    return found ? cueify::toMsf(found->leadOut) : cueify_msf_t{0, 0, 0};
}

uint8_t cueify_full_toc_get_track_session(cueify_full_toc* t, uint8_t track)
{
    const TocTrack* found = trackOf(t, track);
    return found ? found->session : 0;
}

uint8_t cueify_full_toc_get_track_control_flags(cueify_full_toc* t, uint8_t track)
{
    const TocTrack* found = trackOf(t, track);
    return found ? found->control : 0;
}

uint8_t cueify_full_toc_get_track_sub_q_channel_format(cueify_full_toc* t, uint8_t track)
{
    const TocTrack* found = trackOf(t, track);
    return found ? found->subQFormat : 0;
}

cueify_msf_t cueify_full_toc_get_session_length(cueify_full_toc* t, uint8_t session)
{
    const TocSession* entry = sessionOf(t, session);
    const TocTrack* first = entry ? trackOf(t, entry->firstTrack) : nullptr;
    return first ? cueify::toMsf(cueify::distance(first->start, entry->leadOut)) : cueify_msf_t{0, 0, 0};
}

cueify_msf_t cueify_full_toc_get_track_address(cueify_full_toc* t, uint8_t track)
{
    const TocTrack* found = trackOf(t, track);
    return found ? cueify::toMsf(found->start) : cueify_msf_t{0, 0, 0};
}

cueify_msf_t cueify_full_toc_get_track_length(cueify_full_toc* t, uint8_t track)
{
    const TocTrack* found = trackOf(t, track);
    return found ? cueify::toMsf(cueify::trackLength(*cueify::tocDataOf(t), *found)) : cueify_msf_t{0, 0, 0};
}

} // extern "C"
