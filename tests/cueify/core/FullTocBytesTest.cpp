// The full TOC's byte form: a two-session reply as a drive sends it reads back through the
// getters, its points included, and writes back byte for byte.
#include "cueify_testing/CueifyTesting.h"

#include <vector>

namespace cueify::test {
namespace {

// Session 1: tracks 1 and 2 of audio, lead-out 09:37:00; session 2: data track 3 at 02:41:25.
// Track 2 carries the lead-in time at which the drive read it.
const std::vector<uint8_t> kReply = {
    0x00, 0x65, 0x01, 0x02,                                           //
    0x01, 0x10, 0x00, 0xa0, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, // A0: first track 1, mode 1
    0x01, 0x10, 0x00, 0xa1, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, // A1: last track 2
    0x01, 0x10, 0x00, 0xa2, 0x00, 0x00, 0x00, 0x00, 0x09, 0x25, 0x00, // A2: lead-out 09:37:00
    0x01, 0x10, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, // track 1 at 00:02:00
    0x01, 0x10, 0x00, 0x02, 0x00, 0x05, 0x07, 0x00, 0x04, 0x00, 0x00, // track 2 at 04:00:00
    0x02, 0x14, 0x00, 0xa0, 0x00, 0x00, 0x00, 0x00, 0x03, 0x20, 0x00, // A0: first track 3, mode 2
    0x02, 0x14, 0x00, 0xa1, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, // A1: last track 3
    0x02, 0x14, 0x00, 0xa2, 0x00, 0x00, 0x00, 0x00, 0x0b, 0x00, 0x00, // A2: lead-out 11:00:00
    0x02, 0x14, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x02, 0x29, 0x19, // track 3 at 02:41:25
};

TEST(FullTocBytes, TwoSessionReplyReadsThroughTheGettersAndWritesBackAsItCame)
{
    const TocOwner toc(cueify_full_toc_new());
    ASSERT_EQ(cueify_full_toc_deserialize(toc.get(), kReply.data(), kReply.size()), CUEIFY_OK);
    EXPECT_EQ(describeToc(toc.get()), "session 1: tracks 1-2, type 0x00, lead-out 09:37:00\n"
                                      "session 2: tracks 3-3, type 0x20, lead-out 11:00:00\n"
                                      "track 1: session 1, control 0x0, at 00:02:00, length 03:58:00\n"
                                      "track 2: session 1, control 0x0, at 04:00:00, length 05:37:00\n"
                                      "track 3: session 2, control 0x4, at 02:41:25, length 08:18:50\n");
    EXPECT_EQ(
        cueify_full_toc_get_session_control_flags(toc.get(), 2, CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK), 4);
    EXPECT_EQ(cueify_full_toc_get_session_control_flags(toc.get(), 2, 0xA2), 0);
    EXPECT_EQ(cueify_full_toc_get_session_sub_q_channel_format(toc.get(), 1, CUEIFY_LEAD_OUT_TRACK), 1);
    EXPECT_EQ(msfText(cueify_full_toc_get_point_address(toc.get(), 1, 2)), "00:05:07");
    EXPECT_EQ(msfText(cueify_full_toc_get_point_address(toc.get(), 1, 0xA2)), "00:00:00");
    EXPECT_EQ(msfText(cueify_full_toc_get_session_length(toc.get(), 2)), "08:18:50");
    EXPECT_EQ(cueify_full_toc_get_first_track(toc.get()), 1);
    EXPECT_EQ(cueify_full_toc_get_last_track(toc.get()), 3);

    size_t size = 0;
    ASSERT_EQ(cueify_full_toc_serialize(toc.get(), nullptr, &size), CUEIFY_OK);
    ASSERT_EQ(size, kReply.size());
    std::vector<uint8_t> written(size);
    size_t tooSmall = size - 1;
    EXPECT_EQ(cueify_full_toc_serialize(toc.get(), written.data(), &tooSmall), CUEIFY_ERR_TOOSMALL);
    ASSERT_EQ(cueify_full_toc_serialize(toc.get(), written.data(), &size), CUEIFY_OK);
    EXPECT_EQ(written, kReply);
    EXPECT_EQ(cueify_full_toc_deserialize(toc.get(), kReply.data(), kReply.size() - 1), CUEIFY_ERR_TRUNCATED);
}

} // namespace
} // namespace cueify::test
