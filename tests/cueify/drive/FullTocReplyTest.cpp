// Replies to READ TOC/PMA/ATIP format 2, decoded and then answered by the full-TOC getters, which
// answer numbers outside the disc with zeros; a one-session track table split where the drive says
// the last session starts.
#include "cueify_testing/CueifyTesting.h"

#include "core/FullTocHandle.h"
#include "core/FullTocReply.h"
#include "drive/SessionSplit.h"
#include "fulltoc/FullTocReplyBuilder.h"

namespace cueify::test {
namespace {

using namespace fulltoc;

std::vector<uint8_t> with(std::vector<uint8_t> reply, size_t offset, uint8_t value)
{
    reply.at(offset) = value;
    return reply;
}

// The reply without count bytes at offset; the length field follows unless told not to.
std::vector<uint8_t> without(std::vector<uint8_t> reply, size_t offset, size_t count, bool fixLength = true)
{
    reply.erase(reply.begin() + offset, reply.begin() + offset + count);
    return fixLength ? with(reply, 1, static_cast<uint8_t>(reply.size() - 2)) : reply;
}

// What every getter that takes a number answers for session s and track n, the track's A-time last.
std::string answersFor(cueify_full_toc* t, uint8_t s, uint8_t n)
{
    char text[96];
    std::snprintf(text, sizeof text, "%d %d %d %s | %d %d %d %s %s %s",
                  cueify_full_toc_get_session_first_track(t, s), cueify_full_toc_get_session_last_track(t, s),
                  cueify_full_toc_get_session_type(t, s),
                  msfText(cueify_full_toc_get_session_leadout_address(t, s)).c_str(),
                  cueify_full_toc_get_track_session(t, n), cueify_full_toc_get_track_control_flags(t, n),
                  cueify_full_toc_get_track_sub_q_channel_format(t, n),
                  msfText(cueify_full_toc_get_track_address(t, n)).c_str(),
                  msfText(cueify_full_toc_get_track_length(t, n)).c_str(),
                  msfText(cueify_full_toc_get_point_address(t, s, n)).c_str());
    return text;
}

TEST(FullTocReply, DiscsAnswerTheGettersAndMalformedRepliesLeaveNothing)
{
    // Each reply, the result of deserializing it and the getters' answers; a refused reply leaves
    // the TOC as it was.
    const std::tuple<const char*, std::vector<uint8_t>, int, std::string> cases[] = {
        {"AudioDisc", audioDisc(), CUEIFY_OK,
         "session 1: tracks 1-3, type 0x00, lead-out 12:30:70\n"
         "track 1: session 1, control 0x0, at 00:02:00, length 04:08:33\n"
         "track 2: session 1, control 0x2, at 04:10:33, length 03:49:54\n"
         "track 3: session 1, control 0x1, at 08:00:12, length 04:30:58\n"},
        {"EnhancedCd", enhancedCd(), CUEIFY_OK,
         "session 1: tracks 1-2, type 0x00, lead-out 20:00:00\n"
         "session 2: tracks 3-3, type 0x20, lead-out 30:00:00\n"
         "track 1: session 1, control 0x0, at 00:02:00, length 09:38:50\n"
         "track 2: session 1, control 0x0, at 09:40:50, length 10:19:25\n"
         "track 3: session 2, control 0x4, at 22:34:00, length 07:26:00\n"},
        {"DataFirst", dataFirstDisc(), CUEIFY_OK,
         "session 1: tracks 1-2, type 0x00, lead-out 30:00:00\n"
         "track 1: session 1, control 0x4, at 00:02:00, length 09:58:00\n"
         "track 2: session 1, control 0x0, at 10:00:00, length 20:00:00\n"},
        {"Bcd", bcdDisc(), CUEIFY_OK,
         "session 1: tracks 9-10, type 0x00, lead-out 09:59:74\n"
         "track 9: session 1, control 0x0, at 00:02:00, length 04:43:33\n"
         "track 10: session 1, control 0x0, at 04:45:33, length 05:14:41\n"},
        {"BcdOfAnXaSession", bcdDisc(CUEIFY_SESSION_MODE_2), CUEIFY_OK,
         "session 1: tracks 9-10, type 0x20, lead-out 09:59:74\n"
         "track 9: session 1, control 0x0, at 00:02:00, length 04:43:33\n"
         "track 10: session 1, control 0x0, at 04:45:33, length 05:14:41\n"},
        {"LeadOutBeforeATrack", with(dataFirstDisc(), 34, 5), CUEIFY_OK,
         "session 1: tracks 1-2, type 0x00, lead-out 05:00:00\n"
         "track 1: session 1, control 0x4, at 00:02:00, length 09:58:00\n"
         "track 2: session 1, control 0x0, at 10:00:00, length 00:00:00\n"},
        {"LastByteMissing", without(audioDisc(), 69, 1, false), CUEIFY_ERR_TRUNCATED, ""},
        {"LengthFieldBeyondTheReply", with(audioDisc(), 0, 1), CUEIFY_ERR_TRUNCATED, ""},
        {"HeaderCut", {0x00, 0x02, 0x01}, CUEIFY_ERR_TRUNCATED, ""},
        {"DescriptorsNotMultipleOf11", without(audioDisc(), 69, 1), CUEIFY_ERR_CORRUPTED, ""},
        {"LengthFieldShorterThanSessionBytes", with(audioDisc(), 1, 1), CUEIFY_ERR_CORRUPTED, ""},
        {"SessionOutsideTheHeadersRange", with(audioDisc(), 48, 2), CUEIFY_ERR_CORRUPTED, ""},
        {"FirstSessionAfterLast", ReplyBuilder(2, 1).bytes(), CUEIFY_ERR_CORRUPTED, ""},
        {"SessionNumberZero", ReplyBuilder(0, 1).bytes(), CUEIFY_ERR_CORRUPTED, ""},
        {"SessionWithoutLeadOut", without(audioDisc(), 26, 11), CUEIFY_ERR_CORRUPTED, ""},
        {"FirstTrackZero", with(audioDisc(), 12, 0), CUEIFY_ERR_CORRUPTED, ""},
        {"FirstTrackAfterLast", with(audioDisc(), 12, 4), CUEIFY_ERR_CORRUPTED, ""},
        {"SecondsNeitherBinaryNorBcd", with(audioDisc(), 35, 0x3C), CUEIFY_ERR_CORRUPTED, ""},
        {"Frame75", with(audioDisc(), 36, 75), CUEIFY_ERR_CORRUPTED, ""},
        {"Frame75InBcd", with(bcdDisc(), 36, 0x75), CUEIFY_ERR_CORRUPTED, ""}};
    for (const auto& [name, reply, result, answers] : cases) {
        SCOPED_TRACE(name);
        const TocOwner toc(cueify_full_toc_new());
        EXPECT_EQ(cueify_full_toc_deserialize(toc.get(), reply.data(), reply.size()), result);
        EXPECT_EQ(describeToc(toc.get()), answers);
    }
}

// Bytes that read as binary or as BCD (no second of 40 or more, no frame of 50 or more); the
// ordinary TOC, which drives answer in binary, says which.
TEST(FullTocReply, TheOrdinaryTocSettlesAReplyThatCouldBeBinaryOrBcd)
{
    ReplyBuilder builder(1, 1);
    builder.session(1, 0, 1, 2, CUEIFY_SESSION_MODE_1, 0x00, 0x09, 0x37).track(1, 0, 1, 0, 2, 0);
    const std::vector<uint8_t> reply = builder.track(1, 0, 2, 0x00, 0x06, 0x25).bytes();
    const std::string binary = "session 1: tracks 1-2, type 0x00, lead-out 00:09:55\n"
                               "track 1: session 1, control 0x0, at 00:02:00, length 00:04:37\n"
                               "track 2: session 1, control 0x0, at 00:06:37, length 00:03:18\n";
    const std::string bcd = "session 1: tracks 1-2, type 0x00, lead-out 00:09:37\n"
                            "track 1: session 1, control 0x0, at 00:02:00, length 00:04:25\n"
                            "track 2: session 1, control 0x0, at 00:06:25, length 00:03:12\n";
    const auto ordinaryToc = [](uint32_t secondTrackStart) {
        FullTocData toc;
        toc.tracks = {TocTrack{1, 1, 0, 1, AbsoluteFrame{150}, {}},
                      TocTrack{2, 1, 0, 1, AbsoluteFrame{secondTrackStart}, {}}};
        return toc;
    };
    const FullTocData bcdStarts = ordinaryToc(6 * 75 + 25), binaryStarts = ordinaryToc(6 * 75 + 37),
                      neither = ordinaryToc(6 * 75);
    const std::pair<const FullTocData*, std::string> cases[] = {
        {nullptr, binary}, {&binaryStarts, binary}, {&bcdStarts, bcd}, {&neither, binary}};
    for (const auto& [ordinary, answers] : cases) {
        const TocOwner toc(cueify_full_toc_new());
        *tocDataOf(toc.get()) = parseFullTocReply(reply.data(), reply.size(), ordinary);
        EXPECT_EQ(describeToc(toc.get()), answers);
    }
}

// A track's A-time, bytes 4 to 6 of its item, is BCD in a BCD reply like the rest.
TEST(FullTocReply, GettersAnswerEveryNumberOfTheDiscAndZeroOutsideItOrForEmptyOrNullTocs)
{
    const TocOwner toc(cueify_full_toc_new()), bcd(cueify_full_toc_new()), empty(cueify_full_toc_new());
    const std::vector<uint8_t> reply = enhancedCd(),
                               bcdReply = with(with(with(bcdDisc(), 52, 0x12), 53, 0x23), 54, 0x45);
    ASSERT_EQ(cueify_full_toc_deserialize(toc.get(), reply.data(), reply.size()), CUEIFY_OK);
    ASSERT_EQ(cueify_full_toc_deserialize(bcd.get(), bcdReply.data(), bcdReply.size()), CUEIFY_OK);
    EXPECT_EQ(answersFor(toc.get(), 2, 3), "3 3 32 30:00:00 | 2 4 1 22:34:00 07:26:00 00:00:00");
    EXPECT_EQ(answersFor(bcd.get(), 1, 10), "9 10 0 09:59:74 | 1 0 1 04:45:33 05:14:41 12:23:45");
    const std::tuple<cueify_full_toc*, uint8_t, uint8_t> cases[] = {
        {toc.get(), 0, 0}, {toc.get(), 3, 4}, {toc.get(), 0xAA, 0xAA}, {empty.get(), 1, 1}, {nullptr, 1, 1}};
    for (const auto& [t, session, track] : cases)
        EXPECT_EQ(answersFor(t, session, track), "0 0 0 00:00:00 | 0 0 0 00:00:00 00:00:00 00:00:00")
            << int(track);
    EXPECT_EQ(cueify_full_toc_get_first_session(nullptr) + cueify_full_toc_get_last_session(empty.get()), 0);
    cueify_full_toc_free(nullptr);
}

// Tracks 1 to 3 at 00:02:00, 00:06:00 and 02:41:25 (11,400 frames after 00:09:25), lead-out 02:45:25.
FullTocData trackTable()
{
    FullTocData toc;
    toc.firstSession = toc.lastSession = 1;
    toc.sessions = {TocSession{1, 1, 3, CUEIFY_SESSION_MODE_1, AbsoluteFrame{12400}, {}, {}, {}}};
    toc.tracks = {TocTrack{1, 1, 0, 1, AbsoluteFrame{150}, {}}, TocTrack{2, 1, 0, 1, AbsoluteFrame{450}, {}},
                  TocTrack{3, 1, CUEIFY_TOC_TRACK_IS_DATA, 1, AbsoluteFrame{12100}, {}}};
    return toc;
}

const std::string kOneSession = "session 1: tracks 1-3, type 0x00, lead-out 02:45:25\n"
                                "track 1: session 1, control 0x0, at 00:02:00, length 00:04:00\n"
                                "track 2: session 1, control 0x0, at 00:06:00, length 02:35:25\n"
                                "track 3: session 1, control 0x4, at 02:41:25, length 00:04:00\n";

TEST(SessionSplit, TheLastSessionStartsWhereTheDriveSaysAndTheOneBeforeEndsTheGapEarlier)
{
    const std::pair<LastSessionStart, std::string> cases[] = {
        {{2, AbsoluteFrame{12100}},
         "session 1: tracks 1-2, type 0x00, lead-out 00:09:25\n"
         "session 2: tracks 3-3, type 0x00, lead-out 02:45:25\n"
         "track 1: session 1, control 0x0, at 00:02:00, length 00:04:00\n"
         "track 2: session 1, control 0x0, at 00:06:00, length 00:03:25\n"
         "track 3: session 2, control 0x4, at 02:41:25, length 00:04:00\n"},
        {{1, AbsoluteFrame{12100}}, kOneSession}, // one session: nothing to split
        {{2, AbsoluteFrame{150}}, kOneSession},   // the first track starts no later session
        {{2, AbsoluteFrame{12000}}, kOneSession}, // no track starts there
        {{2, AbsoluteFrame{450}}, kOneSession}};  // too close to the track before for a session gap
    for (const auto& [last, expected] : cases) {
        SCOPED_TRACE(last.firstTrackStart.value);
        const TocOwner toc(cueify_full_toc_new());
        *tocDataOf(toc.get()) = trackTable();
        splitAtLastSession(*tocDataOf(toc.get()), last);
        EXPECT_EQ(describeToc(toc.get()), expected);
    }
    // Track 3 a session gap after track 2 would leave track 2 no frame in the earlier session.
    FullTocData adjacent = trackTable();
    adjacent.tracks[2].start = AbsoluteFrame{450 + 11400};
    splitAtLastSession(adjacent, {2, adjacent.tracks[2].start});
    EXPECT_EQ(adjacent.sessions.size(), 1u);
}

} // namespace
} // namespace cueify::test
