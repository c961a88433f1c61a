// The full-TOC functions of the cueify C API, answered from the disc copied into the handle.
#include "cueify_fake/FakeState.h"

#include <algorithm>

namespace {

using fake::FakeCueify;
using fake::FakeDisc;
using fake::FakeSession;
using fake::FakeTrack;
using Lock = std::lock_guard<std::mutex>;

FakeCueify::State& state()
{
    return FakeCueify::instance().state();
}

cueify_msf_t toMsf(const fake::Msf& msf)
{
    return cueify_msf_t{msf.min, msf.sec, msf.frm};
}

// Records the call and answers from the handle's disc; a NULL or invalid handle answers zero.
template <typename Result, typename Answer>
Result answer(const char* function, cueify_full_toc* t, uint32_t number, Answer&& fromDisc)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record(function, {}, number);
    const fake::FakeToc* toc = s.findToc(function, t);
    return toc != nullptr ? fromDisc(toc->disc) : Result{};
}

template <typename Result, typename Field>
Result sessionField(const char* function, cueify_full_toc* t, uint8_t number, Field field)
{
    return answer<Result>(function, t, number, [&](const FakeDisc& disc) {
        auto found = std::find_if(disc.sessions.begin(), disc.sessions.end(),
                                  [&](const FakeSession& session) { return session.number == number; });
        return found != disc.sessions.end() ? field(*found) : Result{};
    });
}

template <typename Result, typename Field>
Result trackField(const char* function, cueify_full_toc* t, uint8_t number, Field field)
{
    return answer<Result>(function, t, number, [&](const FakeDisc& disc) {
        auto found = std::find_if(disc.tracks.begin(), disc.tracks.end(),
                                  [&](const FakeTrack& track) { return track.number == number; });
        return found != disc.tracks.end() ? field(*found) : Result{};
    });
}

bool byNumber(const FakeSession& a, const FakeSession& b)
{
    return a.number < b.number;
}

} // namespace

extern "C" {

cueify_full_toc* cueify_full_toc_new(void)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_full_toc_new");
    return s.data.failTocNew ? nullptr : s.makeToc();
}

void cueify_full_toc_free(cueify_full_toc* t)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_full_toc_free");
    if (fake::FakeToc* toc = s.findToc("cueify_full_toc_free", t)) {
        toc->freed = true;
        toc->disc = FakeDisc{};
    }
}

uint8_t cueify_full_toc_get_first_session(cueify_full_toc* t)
{
    return answer<uint8_t>("cueify_full_toc_get_first_session", t, 0, [](const FakeDisc& disc) {
        auto first = std::min_element(disc.sessions.begin(), disc.sessions.end(), byNumber);
        return first != disc.sessions.end() ? first->number : uint8_t{0};
    });
}

uint8_t cueify_full_toc_get_last_session(cueify_full_toc* t)
{
    return answer<uint8_t>("cueify_full_toc_get_last_session", t, 0, [](const FakeDisc& disc) {
        auto last = std::max_element(disc.sessions.begin(), disc.sessions.end(), byNumber);
        return last != disc.sessions.end() ? last->number : uint8_t{0};
    });
}

uint8_t cueify_full_toc_get_session_first_track(cueify_full_toc* t, uint8_t session)
{
    return sessionField<uint8_t>("cueify_full_toc_get_session_first_track", t, session,
                                 [](const FakeSession& found) { return found.firstTrack; });
}

uint8_t cueify_full_toc_get_session_last_track(cueify_full_toc* t, uint8_t session)
{
    return sessionField<uint8_t>("cueify_full_toc_get_session_last_track", t, session,
                                 [](const FakeSession& found) { return found.lastTrack; });
}

uint8_t cueify_full_toc_get_session_type(cueify_full_toc* t, uint8_t session)
{
    return sessionField<uint8_t>("cueify_full_toc_get_session_type", t, session,
                                 [](const FakeSession& found) { return found.type; });
}

cueify_msf_t cueify_full_toc_get_session_leadout_address(cueify_full_toc* t, uint8_t session)
{
    return sessionField<cueify_msf_t>("cueify_full_toc_get_session_leadout_address", t, session,
                                      [](const FakeSession& found) { return toMsf(found.leadOut); });
}

uint8_t cueify_full_toc_get_track_session(cueify_full_toc* t, uint8_t track)
{
    return trackField<uint8_t>("cueify_full_toc_get_track_session", t, track,
                               [](const FakeTrack& found) { return found.session; });
}

uint8_t cueify_full_toc_get_track_control_flags(cueify_full_toc* t, uint8_t track)
{
    return trackField<uint8_t>("cueify_full_toc_get_track_control_flags", t, track,
                               [](const FakeTrack& found) { return found.control; });
}

uint8_t cueify_full_toc_get_track_sub_q_channel_format(cueify_full_toc* t, uint8_t track)
{
    return trackField<uint8_t>("cueify_full_toc_get_track_sub_q_channel_format", t, track,
                               [](const FakeTrack& found) { return found.subQFormat; });
}

cueify_msf_t cueify_full_toc_get_track_address(cueify_full_toc* t, uint8_t track)
{
    return trackField<cueify_msf_t>("cueify_full_toc_get_track_address", t, track,
                                    [](const FakeTrack& found) { return toMsf(found.address); });
}

cueify_msf_t cueify_full_toc_get_track_length(cueify_full_toc* t, uint8_t track)
{
    return trackField<cueify_msf_t>("cueify_full_toc_get_track_length", t, track,
                                    [](const FakeTrack& found) { return toMsf(found.length); });
}

} // extern "C"
