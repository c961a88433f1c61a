// What libcue reads: indexes, FLAGS and FILE names.
#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <ostream>

namespace cueify::test {
namespace {

TEST(CueSheetParser, TrackWithoutIndex01DoesNotOpen)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, 600));
    writeFile(dir / "disc.cue", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n INDEX 00 00:00:00\n INDEX 02 00:01:00\n");
    EXPECT_EQ(openResult((dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

struct FlagsCase
{
    const char* name;
    const char* flagsLine;
    const char* mode;
    uint8_t control;
};

void PrintTo(const FlagsCase& c, std::ostream* os)
{
    *os << c.name;
}

class TrackFlags : public ::testing::TestWithParam<FlagsCase>
{};

TEST_P(TrackFlags, BecomeControlBits)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, 10));
    writeFile(dir / "disc.cue", std::string("FILE \"disc.bin\" BINARY\n  TRACK 01 ") + GetParam().mode + "\n" +
                                    GetParam().flagsLine + "    INDEX 01 00:00:00\n");
    const DeviceOwner device = openDevice((dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(readToc(device.get()).get(), 1), GetParam().control);
}

INSTANTIATE_TEST_SUITE_P(CueSheetParser, TrackFlags,
                         ::testing::Values(FlagsCase{"None", "", "AUDIO", 0x0},
                                           FlagsCase{"Dcp", "    FLAGS DCP\n", "AUDIO", 0x2},
                                           FlagsCase{"FourChannels", "    FLAGS 4CH\n", "AUDIO", 0x8},
                                           FlagsCase{"PreEmphasis", "    FLAGS PRE\n", "AUDIO", 0x1},
                                           FlagsCase{"All", "    FLAGS DCP 4CH PRE\n", "AUDIO", 0xB},
                                           FlagsCase{"Mode1Data", "", "MODE1/2352", 0x4},
                                           FlagsCase{"Mode2DataCopyable", "    FLAGS DCP\n", "MODE2/2352", 0x6}),
                         [](const ::testing::TestParamInfo<FlagsCase>& info) { return std::string(info.param.name); });

TEST(CueSheetParser, DataFileNamesAreRelativeToTheSheet)
{
    TempDir dir;
    fs::create_directories(dir / "sheets");
    fs::create_directories(dir / "data");
    writeFile(dir / "data" / "my disc.bin", patternBytes(7, 20));
    writeFile(dir / "sheets" / "disc.cue",
              "FILE \"../data/my disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    const DeviceOwner device = openDevice((dir / "sheets" / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(readSector(device.get(), 19), patternSector(7, 19));
}

} // namespace
} // namespace cueify::test
