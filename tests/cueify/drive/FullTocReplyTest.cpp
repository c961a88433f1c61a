#include "drive/FullTocReply.h"

#include "core/FullTocHandle.h"
#include "fulltoc/FullTocReplyBuilder.h"

#include <cueify/cueify.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

using cueify::FullTocData;
using fulltoc::ReplyBuilder;

constexpr uint8_t kAudio = 0x0;
constexpr uint8_t kData = CUEIFY_TOC_TRACK_IS_DATA;

uint32_t frames(uint32_t min, uint32_t sec, uint32_t frm)
{
    return (min * 60 + sec) * 75 + frm;
}

int parse(const std::vector<uint8_t>& reply, FullTocData& out)
{
    return cueify::parseFullTocReply(reply.data(), reply.size(), out);
}

// Tracks 1 to 3 of an audio disc: plain, copy permitted, pre-emphasis.
ReplyBuilder audioDisc()
{
    ReplyBuilder reply(1, 1);
    reply.session(1, kAudio, 1, 3, CUEIFY_SESSION_MODE_1, 12, 30, 70);
    reply.track(1, kAudio, 1, 0, 2, 0);
    reply.track(1, CUEIFY_TOC_TRACK_PERMITS_COPYING, 2, 4, 10, 33);
    return reply.track(1, CUEIFY_TOC_TRACK_HAS_PREEMPHASIS, 3, 8, 0, 12);
}

// Audio tracks 1 to 12, every four minutes, in session 1; data track 13 in session 2, with
// the mode-5 items a recorded second session carries.
ReplyBuilder enhancedCd()
{
    ReplyBuilder reply(1, 2);
    reply.session(1, kAudio, 1, 12, CUEIFY_SESSION_MODE_1, 50, 0, 0);
    for (uint8_t track = 1; track <= 12; ++track)
        reply.track(1, kAudio, track, static_cast<uint8_t>(4 * (track - 1)), 2, 0);
    reply.item(1, fulltoc::kAdrPointers, kAudio, 0xB0, 60, 0, 0);
    reply.item(1, fulltoc::kAdrPointers, kAudio, 0xC0, 0x80, 0, 0);
    reply.item(1, fulltoc::kAdrPointers, kAudio, 0x01, 99, 99, 99);
    reply.session(2, kData, 13, 13, CUEIFY_SESSION_MODE_2, 60, 0, 0);
    return reply.track(2, kData, 13, 52, 34, 0);
}

ReplyBuilder dataFirstDisc()
{
    ReplyBuilder reply(1, 1);
    reply.session(1, kData, 1, 2, CUEIFY_SESSION_MODE_1, 30, 0, 0);
    reply.track(1, kData, 1, 0, 2, 0);
    return reply.track(1, kAudio, 2, 10, 0, 0);
}

TEST(FullTocReply, SingleSessionAudioDiscGivesEveryTrackAndTheLeadOut)
{
    FullTocData toc;
    ASSERT_EQ(parse(audioDisc().bytes(), toc), CUEIFY_OK);
    EXPECT_EQ(toc.firstSession, 1);
    EXPECT_EQ(toc.lastSession, 1);
    ASSERT_EQ(toc.sessions.size(), 1u);
    EXPECT_EQ(toc.sessions[0].number, 1);
    EXPECT_EQ(toc.sessions[0].firstTrack, 1);
    EXPECT_EQ(toc.sessions[0].lastTrack, 3);
    EXPECT_EQ(toc.sessions[0].type, CUEIFY_SESSION_MODE_1);
    EXPECT_EQ(toc.sessions[0].leadOut.value, frames(12, 30, 70));
    ASSERT_EQ(toc.tracks.size(), 3u);
    const std::tuple<uint8_t, uint8_t, uint32_t> expected[] = {
        {1, 0x0, frames(0, 2, 0)}, {2, 0x2, frames(4, 10, 33)}, {3, 0x1, frames(8, 0, 12)}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(toc.tracks[i].number, std::get<0>(expected[i]));
        EXPECT_EQ(toc.tracks[i].control, std::get<1>(expected[i]));
        EXPECT_EQ(toc.tracks[i].start.value, std::get<2>(expected[i]));
        EXPECT_EQ(toc.tracks[i].session, 1);
        EXPECT_EQ(toc.tracks[i].subQFormat, 1);
    }
}

TEST(FullTocReply, EnhancedCdPutsTheDataTrackInTheSecondSession)
{
    FullTocData toc;
    ASSERT_EQ(parse(enhancedCd().bytes(), toc), CUEIFY_OK);
    EXPECT_EQ(toc.lastSession, 2);
    ASSERT_EQ(toc.sessions.size(), 2u);
    EXPECT_EQ(toc.sessions[1].firstTrack, 13);
    EXPECT_EQ(toc.sessions[1].lastTrack, 13);
    EXPECT_EQ(toc.sessions[1].type, CUEIFY_SESSION_MODE_2);
    EXPECT_EQ(toc.sessions[1].leadOut.value, frames(60, 0, 0));
    ASSERT_EQ(toc.tracks.size(), 13u); // the mode-5 items added nothing
    EXPECT_EQ(toc.tracks[0].start.value, frames(0, 2, 0));
    EXPECT_EQ(toc.tracks[12].session, 2);
    EXPECT_EQ(toc.tracks[12].control, kData);
    EXPECT_EQ(toc.tracks[12].start.value, frames(52, 34, 0));
}

TEST(FullTocReply, BcdReplyIsRecognisedAndConverted)
{
    ReplyBuilder reply(1, 1);
    reply.session(1, kAudio, 0x01, 0x10, CUEIFY_SESSION_MODE_1, 0x09, 0x59, 0x74);
    reply.track(1, kAudio, 0x01, 0x00, 0x02, 0x00);
    reply.track(1, kAudio, 0x10, 0x04, 0x45, 0x33);
    FullTocData toc;
    ASSERT_EQ(parse(reply.bytes(), toc), CUEIFY_OK);
    EXPECT_EQ(toc.sessions[0].lastTrack, 10);
    EXPECT_EQ(toc.sessions[0].leadOut.value, frames(9, 59, 74));
    ASSERT_EQ(toc.tracks.size(), 2u);
    EXPECT_EQ(toc.tracks[1].number, 10);
    EXPECT_EQ(toc.tracks[1].start.value, frames(4, 45, 33));
}

TEST(FullTocReply, BytesPastTheLengthFieldAreIgnored)
{
    std::vector<uint8_t> reply = audioDisc().bytes();
    reply.insert(reply.end(), {0xA2, 0xFF, 0xFF, 0xFF, 0xFF});
    FullTocData toc;
    ASSERT_EQ(parse(reply, toc), CUEIFY_OK);
    EXPECT_EQ(toc.tracks.size(), 3u);
}

TEST(FullTocReply, TruncatedRepliesAreRefused)
{
    std::vector<uint8_t> cut = audioDisc().bytes();
    cut.pop_back();
    std::vector<uint8_t> boasting = audioDisc().bytes();
    boasting[0] = 0x01;
    for (const std::vector<uint8_t>& reply : {cut, boasting, std::vector<uint8_t>{0x00, 0x02, 0x01}}) {
        FullTocData toc;
        EXPECT_EQ(parse(reply, toc), CUEIFY_ERR_TRUNCATED);
    }
    FullTocData toc;
    EXPECT_EQ(cueify::parseFullTocReply(nullptr, 0, toc), CUEIFY_ERR_TRUNCATED);
}

struct Malformed
{
    const char* what; // also the test's name
    std::vector<uint8_t> reply;
};

std::vector<uint8_t> withLength(std::vector<uint8_t> reply, size_t length)
{
    reply[0] = static_cast<uint8_t>(length >> 8);
    reply[1] = static_cast<uint8_t>(length);
    return reply;
}

std::vector<uint8_t> withByte(std::vector<uint8_t> reply, size_t offset, uint8_t value)
{
    reply[offset] = value;
    return reply;
}

// Offsets into audioDisc(): the header, then A0, A1, A2, tracks 1 to 3.
constexpr size_t kA0 = 4;
constexpr size_t kA2 = 4 + 2 * 11;
constexpr size_t kTrack2 = 4 + 4 * 11;

class FullTocReplyMalformed : public testing::TestWithParam<Malformed>
{
};

TEST_P(FullTocReplyMalformed, IsRefusedAsCorruptedAndLeavesNothing)
{
    FullTocData toc;
    toc.lastSession = 9;
    toc.tracks.resize(2);
    EXPECT_EQ(parse(GetParam().reply, toc), CUEIFY_ERR_CORRUPTED) << GetParam().what;
    EXPECT_EQ(toc.lastSession, 0);
    EXPECT_TRUE(toc.tracks.empty());
}

std::vector<uint8_t> withoutLastDescriptorByte()
{
    std::vector<uint8_t> reply = audioDisc().bytes();
    reply.pop_back();
    return withLength(reply, reply.size() - 2);
}

std::vector<uint8_t> withoutLeadOut()
{
    ReplyBuilder reply(1, 1);
    reply.item(1, 1, kAudio, fulltoc::kFirstTrackPoint, 1, 0, 0);
    reply.item(1, 1, kAudio, fulltoc::kLastTrackPoint, 1, 0, 0);
    return reply.track(1, kAudio, 1, 0, 2, 0).bytes();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FullTocReplyMalformed,
    testing::Values(Malformed{"DescriptorAreaNotMultipleOf11", withoutLastDescriptorByte()},
                    Malformed{"LengthFieldShorterThanSessionBytes", withLength(audioDisc().bytes(), 1)},
                    Malformed{"SessionOutsideHeaderRange", withByte(audioDisc().bytes(), kTrack2, 2)},
                    Malformed{"FirstSessionAfterLast", ReplyBuilder(2, 1).bytes()},
                    Malformed{"SessionNumberZero", ReplyBuilder(0, 1).bytes()},
                    Malformed{"SessionWithoutLeadOut", withoutLeadOut()},
                    Malformed{"FirstTrackZero", withByte(audioDisc().bytes(), kA0 + 8, 0)},
                    Malformed{"SecondsNeitherBinaryNorBcd", withByte(audioDisc().bytes(), kA2 + 9, 0x3C)},
                    Malformed{"FirstTrackAfterLast", withByte(audioDisc().bytes(), kA0 + 8, 4)}),
    [](const testing::TestParamInfo<Malformed>& info) { return std::string(info.param.what); });

// The getters of the real library over what the decoder produced.
class FullTocReplyGetters : public testing::Test
{
protected:
    cueify_full_toc* load(const ReplyBuilder& reply)
    {
        toc.reset(cueify_full_toc_new());
        EXPECT_EQ(parse(reply.bytes(), *cueify::tocDataOf(toc.get())), CUEIFY_OK);
        return toc.get();
    }

    struct TocFree
    {
        void operator()(cueify_full_toc* t) const { cueify_full_toc_free(t); }
    };
    std::unique_ptr<cueify_full_toc, TocFree> toc;
};

void expectMsf(cueify_msf_t actual, uint8_t min, uint8_t sec, uint8_t frm)
{
    EXPECT_EQ(actual.min, min);
    EXPECT_EQ(actual.sec, sec);
    EXPECT_EQ(actual.frm, frm);
}

TEST_F(FullTocReplyGetters, AudioDiscAnswersAddressesLengthsAndFlags)
{
    cueify_full_toc* t = load(audioDisc());
    EXPECT_EQ(cueify_full_toc_get_first_session(t), 1);
    EXPECT_EQ(cueify_full_toc_get_last_session(t), 1);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(t, 1), 3);
    expectMsf(cueify_full_toc_get_session_leadout_address(t, 1), 12, 30, 70);
    expectMsf(cueify_full_toc_get_track_address(t, 1), 0, 2, 0);
    expectMsf(cueify_full_toc_get_track_length(t, 2), 3, 49, 54);
    expectMsf(cueify_full_toc_get_track_length(t, 3), 4, 30, 58);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, 2), CUEIFY_TOC_TRACK_PERMITS_COPYING);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, 3), CUEIFY_TOC_TRACK_HAS_PREEMPHASIS);
}

TEST_F(FullTocReplyGetters, EnhancedCdKeepsTheSessionGapOutOfTrackLengths)
{
    cueify_full_toc* t = load(enhancedCd());
    EXPECT_EQ(cueify_full_toc_get_last_session(t), 2);
    EXPECT_EQ(cueify_full_toc_get_session_first_track(t, 2), 13);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(t, 2), 13);
    EXPECT_EQ(cueify_full_toc_get_session_type(t, 2), CUEIFY_SESSION_MODE_2);
    EXPECT_EQ(cueify_full_toc_get_track_session(t, 13), 2);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, 13), CUEIFY_TOC_TRACK_IS_DATA);
    expectMsf(cueify_full_toc_get_track_length(t, 12), 5, 58, 0);
    expectMsf(cueify_full_toc_get_track_length(t, 13), 7, 26, 0);
    EXPECT_EQ(cueify_full_toc_get_track_session(t, 14), 0);
    expectMsf(cueify_full_toc_get_session_leadout_address(t, 3), 0, 0, 0);
}

TEST_F(FullTocReplyGetters, DataFirstTrackIsFlaggedAndEndsAtTheAudio)
{
    cueify_full_toc* t = load(dataFirstDisc());
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, 1), CUEIFY_TOC_TRACK_IS_DATA);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, 2), 0);
    expectMsf(cueify_full_toc_get_track_length(t, 1), 9, 58, 0);
    expectMsf(cueify_full_toc_get_track_length(t, 2), 20, 0, 0);
}

} // namespace
