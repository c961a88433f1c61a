// The full TOC's byte form, which is the drive's reply to READ TOC format 2: reading one goes
// through the drive backend's reply decoder, writing one lays out what the decoder reads.
#include "core/ApiGuard.h"
#include "core/FullTocHandle.h"
#include "core/FullTocReply.h"
#include "core/PlainToc.h"
#include "core/TocLookup.h"

#include <cueify/full_toc.h>

#include <vector>

namespace cueify {
namespace {

constexpr uint8_t kLeadOutPoint = 0xA2;

void putEntry(std::vector<uint8_t>& bytes, uint8_t session, const TocPoint& point, uint8_t number,
              cueify_msf_t value)
{
    const cueify_msf_t atime = toMsf(point.atime);
    const uint8_t entry[] = {session,   static_cast<uint8_t>(point.subQFormat << 4 | (point.control & 0x0F)),
                             0,         number,
                             atime.min, atime.sec,
                             atime.frm, 0,
                             value.min, value.sec,
                             value.frm};
    bytes.insert(bytes.end(), std::begin(entry), std::end(entry));
}

void putSession(std::vector<uint8_t>& bytes, const TocSession& session)
{
    putEntry(bytes, session.number, session.firstTrackPoint, CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK,
             cueify_msf_t{session.firstTrack, session.type, 0});
    putEntry(bytes, session.number, session.lastTrackPoint, CUEIFY_FULL_TOC_LAST_TRACK_PSEUDOTRACK,
             cueify_msf_t{session.lastTrack, 0, 0});
    putEntry(bytes, session.number, session.leadOutPoint, kLeadOutPoint, toMsf(session.leadOut));
}

} // namespace

// Each session's A0, A1 and A2 before its first track, then the tracks, in disc order.
std::vector<uint8_t> fullTocReplyOf(const FullTocData& toc)
{
    std::vector<uint8_t> bytes = {0, 0, toc.firstSession, toc.lastSession};
    uint8_t session = 0;
    for (const TocTrack& track : toc.tracks) {
        if (track.session != session) {
            session = track.session;
            if (const TocSession* entry = findSession(toc, session))
                putSession(bytes, *entry);
        }
        putEntry(bytes, track.session, TocPoint{track.control, track.subQFormat, track.atime}, track.number,
                 toMsf(track.start));
    }
    bytes[0] = static_cast<uint8_t>((bytes.size() - 2) >> 8);
    bytes[1] = static_cast<uint8_t>(bytes.size() - 2);
    return bytes;
}

} // namespace cueify

extern "C" {

int cueify_full_toc_deserialize(cueify_full_toc* t, const uint8_t* const buffer, size_t size)
{
    if (!t || !buffer)
        return CUEIFY_ERR_BADARG;
    return cueify::guardedCall([&] { *cueify::tocDataOf(t) = cueify::parseFullTocReply(buffer, size); });
}

int cueify_full_toc_serialize(cueify_full_toc* t, uint8_t* buffer, size_t* size)
{
    if (!t || !size)
        return CUEIFY_ERR_BADARG;
    return cueify::guardedCall(
        [&] { cueify::copySerialized(cueify::fullTocReplyOf(*cueify::tocDataOf(t)), buffer, size); });
}

} // extern "C"
