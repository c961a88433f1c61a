#include "drive/SessionSplit.h"

#include <algorithm>
#include <iterator>

namespace cueify {

void splitAtLastSession(FullTocData& toc, const LastSessionStart& last)
{
    if (toc.sessions.size() != 1 || last.number < 2 || toc.tracks.empty())
        return;
    const auto first = std::find_if(toc.tracks.begin() + 1, toc.tracks.end(), [&last](const TocTrack& track) {
        return track.start.value == last.firstTrackStart.value;
    });
    if (first == toc.tracks.end() || first->start.value - std::prev(first)->start.value <= kSessionGapFrames)
        return;
    TocSession earlier = toc.sessions.front(), later = toc.sessions.front();
    earlier.lastTrack = std::prev(first)->number;
    earlier.leadOut = AbsoluteFrame{first->start.value - kSessionGapFrames};
    later.number = last.number;
    later.firstTrack = first->number;
    for (auto track = first; track != toc.tracks.end(); ++track)
        track->session = last.number;
    toc.sessions = {earlier, later};
    toc.lastSession = last.number;
}

} // namespace cueify
