// Feeds arbitrary bytes to the full-TOC reply decoder as a drive's reply. Besides the
// sanitizers' findings, a decoded TOC that breaks the model's invariants traps: sessions and
// tracks in ascending order, every session with tracks 1 to 99, every track in a session.
#include "core/Failure.h"
#include "core/FullTocReply.h"

#include <cueify/error.h>

#include <algorithm>

namespace {

bool consistent(const cueify::FullTocData& toc)
{
    if (toc.firstSession == 0 || toc.firstSession > toc.lastSession)
        return false;
    for (size_t i = 0; i < toc.sessions.size(); ++i) {
        const cueify::TocSession& s = toc.sessions[i];
        if ((i > 0 && toc.sessions[i - 1].number >= s.number) || s.number < toc.firstSession ||
            s.number > toc.lastSession || s.firstTrack == 0 || s.firstTrack > s.lastTrack || s.lastTrack > 99)
            return false;
    }
    for (size_t i = 0; i < toc.tracks.size(); ++i) {
        const cueify::TocTrack& t = toc.tracks[i];
        const bool inASession =
            std::any_of(toc.sessions.begin(), toc.sessions.end(),
                        [&](const cueify::TocSession& s) { return s.number == t.session; });
        if ((i > 0 && toc.tracks[i - 1].number >= t.number) || !inASession || t.number == 0 || t.number > 99)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        if (!consistent(cueify::parseFullTocReply(data, size)))
            __builtin_trap();
    } catch (const cueify::Failure& failure) {
        if (failure.code() != CUEIFY_ERR_TRUNCATED && failure.code() != CUEIFY_ERR_CORRUPTED)
            __builtin_trap();
    }
    return 0;
}
