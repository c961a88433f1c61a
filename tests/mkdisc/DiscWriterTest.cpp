// The disc-image writer's layout and .cda files.
#include "mkdisc/DiscWriter.h"
#include "TrackWords.h"
#include "mkdisc/CdaFile.h"

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <tuple>

namespace mkdisc {
namespace {

using testsupport::discOfTrackWords;

// The tracks' places are compared, as an image's TOC, where images are read back.
TEST(DiscLayout, TheLastLeadOutMayLieAt99_59_74)
{
    EXPECT_EQ(layoutOf(discOfTrackWords("audio:449849")).sessionLeadOutLba, std::vector<uint32_t>{449849});
}

TEST(CdaFile, EncodesTheFortyFourByteLayout)
{
    // Track 5 starting at LBA 33 (00:02:33) and 16,000 sectors (03:33:25) long.
    const std::array<uint8_t, 44> expected = {
        'R',  'I',  'F',  'F',  0x24, 0x00, 0x00, 0x00, 'C',  'D',  'D',  'A',  'f',  'm',  't',
        ' ',  0x18, 0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x00, 0x78, 0x56, 0x34, 0x12, 0x21, 0x00,
        0x00, 0x00, 0x80, 0x3E, 0x00, 0x00, 0x21, 0x02, 0x00, 0x00, 0x19, 0x21, 0x03, 0x00};
    EXPECT_EQ(encodeCdaFile({5, 0x12345678, 33, 16000}), expected);
}

TEST(CdaFile, SerialPacksTheLeadOutOfUpToTwoTracksAndSumsTheStartsOfMore)
{
    constexpr uint32_t kMinute = discgeometry::kFramesPerMinute;
    const std::tuple<std::vector<uint32_t>, uint32_t, uint32_t> cases[] = {
        {{150}, 20150, 0x00041C32},        // lead-out 04:28:50
        {{150, 10150}, 30150, 0x00062A00}, // lead-out 06:42:00
        // 00:02:00 + 01:02:00 + 02:02:00; the lead-out plays no part.
        {{150, kMinute + 150, 2 * kMinute + 150}, 99999, 0x00030600},
        // 0x8000 minutes packs to 0x80000000; two of them wrap to 0, leaving 00:01:00.
        {{0x8000 * kMinute, 0x8000 * kMinute, 75}, 0, 0x00000100},
    };
    for (const auto& [audioStarts, leadOut, serial] : cases)
        EXPECT_EQ(cdaSerialNumber(audioStarts, leadOut), serial) << audioStarts.size() << " tracks";
}

} // namespace
} // namespace mkdisc
