// Feeds arbitrary bytes to the full-TOC reply decoder as a drive's reply. Besides the
// sanitizers' findings, a decoded TOC that breaks the model's invariants traps.
#include "core/Failure.h"
#include "core/FullTocReply.h"

#include <cueify/error.h>

#include <cstddef>
#include <cstdint>

namespace {

bool ascendingNumbers(const cueify::FullTocData& toc)
{
    for (size_t i = 1; i < toc.sessions.size(); ++i)
        if (toc.sessions[i - 1].number >= toc.sessions[i].number)
            return false;
    for (size_t i = 1; i < toc.tracks.size(); ++i)
        if (toc.tracks[i - 1].number >= toc.tracks[i].number)
            return false;
    return true;
}

bool sessionsConsistent(const cueify::FullTocData& toc)
{
    if (toc.firstSession == 0 || toc.firstSession > toc.lastSession)
        return false;
    for (const cueify::TocSession& session : toc.sessions)
        if (session.number < toc.firstSession || session.number > toc.lastSession ||
            session.firstTrack == 0 || session.firstTrack > session.lastTrack || session.lastTrack > 99)
            return false;
    return true;
}

bool tracksInSessions(const cueify::FullTocData& toc)
{
    for (const cueify::TocTrack& track : toc.tracks) {
        bool found = false;
        for (const cueify::TocSession& session : toc.sessions)
            found = found || session.number == track.session;
        if (!found || track.number == 0 || track.number > 99)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    cueify::FullTocData toc;
    try {
        toc = cueify::parseFullTocReply(data, size);
    } catch (const cueify::Failure& failure) {
        if (failure.code() != CUEIFY_ERR_TRUNCATED && failure.code() != CUEIFY_ERR_CORRUPTED)
            __builtin_trap();
        return 0;
    }
    if (!ascendingNumbers(toc) || !sessionsConsistent(toc) || !tracksInSessions(toc))
        __builtin_trap();
    return 0;
}
