#include "core/TocLookup.h"

#include <algorithm>

namespace cueify {
namespace {

bool trackInRange(const FullTocData& toc, uint8_t number) noexcept
{
    if (toc.sessions.empty())
        return false;
    const auto byFirst = [](const TocSession& a, const TocSession& b) { return a.firstTrack < b.firstTrack; };
    const auto byLast = [](const TocSession& a, const TocSession& b) { return a.lastTrack < b.lastTrack; };
    const uint8_t first = std::min_element(toc.sessions.begin(), toc.sessions.end(), byFirst)->firstTrack;
    const uint8_t last = std::max_element(toc.sessions.begin(), toc.sessions.end(), byLast)->lastTrack;
    return number >= first && number <= last;
}

bool sessionInRange(const FullTocData& toc, uint8_t number) noexcept
{
    return number >= toc.firstSession && number <= toc.lastSession;
}

} // namespace

const TocTrack* findTrack(const FullTocData& toc, uint8_t number) noexcept
{
    if (!trackInRange(toc, number))
        return nullptr;
    const auto found = std::find_if(toc.tracks.begin(), toc.tracks.end(),
                                    [number](const TocTrack& track) { return track.number == number; });
    return found == toc.tracks.end() ? nullptr : &*found;
}

const TocSession* findSession(const FullTocData& toc, uint8_t number) noexcept
{
    if (!sessionInRange(toc, number))
        return nullptr;
    const auto found = std::find_if(toc.sessions.begin(), toc.sessions.end(),
                                    [number](const TocSession& session) { return session.number == number; });
    return found == toc.sessions.end() ? nullptr : &*found;
}

FrameCount trackLength(const FullTocData& toc, const TocTrack& track) noexcept
{
    const TocTrack* next =
        track.number < 0xFF ? findTrack(toc, static_cast<uint8_t>(track.number + 1)) : nullptr;
    if (next && next->session == track.session)
        return distance(track.start, next->start);
    const TocSession* session = findSession(toc, track.session);
    return session ? distance(track.start, session->leadOut) : FrameCount{};
}

} // namespace cueify
