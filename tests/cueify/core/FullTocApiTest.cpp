#include "core/FullTocHandle.h"

#include <cueify/constants.h>
#include <cueify/full_toc.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace cueify {
namespace {

struct TocFree
{
    void operator()(cueify_full_toc* t) const { cueify_full_toc_free(t); }
};
using TocOwner = std::unique_ptr<cueify_full_toc, TocFree>;

TocOwner tocWith(const FullTocData& data)
{
    TocOwner toc(cueify_full_toc_new());
    *tocDataOf(toc.get()) = data;
    return toc;
}

std::tuple<int, int, int> msf(cueify_msf_t value)
{
    return {value.min, value.sec, value.frm};
}

// An enhanced CD as a drive reports it: three audio tracks, then a data track in session 2.
FullTocData enhancedCd()
{
    FullTocData toc;
    toc.firstSession = 1;
    toc.lastSession = 2;
    toc.sessions = {{1, 1, 3, CUEIFY_SESSION_MODE_1, AbsoluteFrame{30150}},
                    {2, 4, 4, CUEIFY_SESSION_MODE_2, AbsoluteFrame{50000}}};
    toc.tracks = {{1, 1, CUEIFY_TOC_TRACK_PERMITS_COPYING, 1, AbsoluteFrame{150}},
                  {2, 1, CUEIFY_TOC_TRACK_HAS_PREEMPHASIS, 1, AbsoluteFrame{10150}},
                  {3, 1, 0, 1, AbsoluteFrame{20150}},
                  {4, 2, CUEIFY_TOC_TRACK_IS_DATA, 1, AbsoluteFrame{41550}}};
    return toc;
}

TEST(FullTocApi, NewTocAnswersZeroEverywhere)
{
    const TocOwner toc(cueify_full_toc_new());
    ASSERT_NE(toc, nullptr);
    EXPECT_EQ(cueify_full_toc_get_first_session(toc.get()), 0);
    EXPECT_EQ(cueify_full_toc_get_last_session(toc.get()), 0);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(toc.get(), 0), 0);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(toc.get(), 1), 0);
    EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), 1), 0);
    EXPECT_EQ(msf(cueify_full_toc_get_track_address(toc.get(), 1)), std::make_tuple(0, 0, 0));
}

TEST(FullTocApi, NullTocAnswersZeroEverywhere)
{
    EXPECT_EQ(cueify_full_toc_get_first_session(nullptr), 0);
    EXPECT_EQ(cueify_full_toc_get_last_session(nullptr), 0);
    EXPECT_EQ(cueify_full_toc_get_session_first_track(nullptr, 1), 0);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(nullptr, 1), 0);
    EXPECT_EQ(cueify_full_toc_get_session_type(nullptr, 1), 0);
    EXPECT_EQ(msf(cueify_full_toc_get_session_leadout_address(nullptr, 1)), std::make_tuple(0, 0, 0));
    EXPECT_EQ(cueify_full_toc_get_track_session(nullptr, 1), 0);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(nullptr, 1), 0);
    EXPECT_EQ(cueify_full_toc_get_track_sub_q_channel_format(nullptr, 1), 0);
    EXPECT_EQ(msf(cueify_full_toc_get_track_address(nullptr, 1)), std::make_tuple(0, 0, 0));
    EXPECT_EQ(msf(cueify_full_toc_get_track_length(nullptr, 1)), std::make_tuple(0, 0, 0));
    cueify_full_toc_free(nullptr);
}

TEST(FullTocApi, SessionsAnswerTheirTracksTypeAndLeadOut)
{
    const TocOwner toc = tocWith(enhancedCd());
    EXPECT_EQ(cueify_full_toc_get_first_session(toc.get()), 1);
    EXPECT_EQ(cueify_full_toc_get_last_session(toc.get()), 2);
    EXPECT_EQ(cueify_full_toc_get_session_first_track(toc.get(), 2), 4);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(toc.get(), 1), 3);
    EXPECT_EQ(cueify_full_toc_get_session_type(toc.get(), 2), CUEIFY_SESSION_MODE_2);
    EXPECT_EQ(msf(cueify_full_toc_get_session_leadout_address(toc.get(), 1)), std::make_tuple(6, 42, 0));
    EXPECT_EQ(msf(cueify_full_toc_get_session_leadout_address(toc.get(), 2)), std::make_tuple(11, 6, 50));
}

TEST(FullTocApi, SessionsOutsideFirstAndLastAnswerZero)
{
    const TocOwner toc = tocWith(enhancedCd());
    for (uint8_t session : {0, 3, 0xAA, 0xFF}) {
        EXPECT_EQ(cueify_full_toc_get_session_first_track(toc.get(), session), 0);
        EXPECT_EQ(cueify_full_toc_get_session_last_track(toc.get(), session), 0);
        EXPECT_EQ(msf(cueify_full_toc_get_session_leadout_address(toc.get(), session)), std::make_tuple(0, 0, 0));
    }
}

TEST(FullTocApi, TracksAnswerSessionFlagsFormatAndAddress)
{
    const TocOwner toc = tocWith(enhancedCd());
    EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), 3), 1);
    EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), 4), 2);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(toc.get(), 1), CUEIFY_TOC_TRACK_PERMITS_COPYING);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(toc.get(), 2), CUEIFY_TOC_TRACK_HAS_PREEMPHASIS);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(toc.get(), 4), CUEIFY_TOC_TRACK_IS_DATA);
    EXPECT_EQ(cueify_full_toc_get_track_sub_q_channel_format(toc.get(), 4), 1);
    EXPECT_EQ(msf(cueify_full_toc_get_track_address(toc.get(), 1)), std::make_tuple(0, 2, 0));
    EXPECT_EQ(msf(cueify_full_toc_get_track_address(toc.get(), 4)), std::make_tuple(9, 14, 0));
}

TEST(FullTocApi, LengthRunsToTheNextTrackOrTheSessionLeadOut)
{
    const TocOwner toc = tocWith(enhancedCd());
    EXPECT_EQ(msf(cueify_full_toc_get_track_length(toc.get(), 1)), std::make_tuple(2, 13, 25)); // 10000 frames
    EXPECT_EQ(msf(cueify_full_toc_get_track_length(toc.get(), 3)), std::make_tuple(2, 13, 25)); // to lead-out 1
    EXPECT_EQ(msf(cueify_full_toc_get_track_length(toc.get(), 4)), std::make_tuple(1, 52, 50)); // 8450 frames
}

TEST(FullTocApi, TracksOutsideTheDiscAnswerZero)
{
    FullTocData data = enhancedCd();
    for (TocTrack& track : data.tracks)
        track.number = static_cast<uint8_t>(track.number + 4); // tracks 5 to 8
    data.sessions[0].firstTrack = 5;
    data.sessions[0].lastTrack = 7;
    data.sessions[1].firstTrack = data.sessions[1].lastTrack = 8;
    const TocOwner toc = tocWith(data);
    for (uint8_t track : {0, 1, 4, 9, 0xAA}) {
        EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), track), 0) << int(track);
        EXPECT_EQ(cueify_full_toc_get_track_control_flags(toc.get(), track), 0) << int(track);
        EXPECT_EQ(msf(cueify_full_toc_get_track_address(toc.get(), track)), std::make_tuple(0, 0, 0));
        EXPECT_EQ(msf(cueify_full_toc_get_track_length(toc.get(), track)), std::make_tuple(0, 0, 0));
    }
    EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), 5), 1);
    EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), 8), 2);
}

TEST(FullTocApi, TrackRangeSpansTheSmallestFirstAndLargestLastTrack)
{
    FullTocData data = enhancedCd();
    std::swap(data.sessions[0].firstTrack, data.sessions[1].firstTrack); // sessions that disagree on order
    std::swap(data.sessions[0].lastTrack, data.sessions[1].lastTrack);
    const TocOwner toc = tocWith(data);
    EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), 1), 1);
    EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), 4), 2);
}

TEST(FullTocApi, LengthOfATrackWhoseLeadOutLiesBeforeItIsZero)
{
    FullTocData data = enhancedCd();
    data.sessions[1].leadOut = AbsoluteFrame{100};
    const TocOwner toc = tocWith(data);
    EXPECT_EQ(msf(cueify_full_toc_get_track_length(toc.get(), 4)), std::make_tuple(0, 0, 0));
}

} // namespace
} // namespace cueify
