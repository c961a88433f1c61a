// Sheets whose structure the scanner refuses or reads beyond what libcue reports.
#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <ostream>

namespace cueify::test {
namespace {

struct SheetCase
{
    const char* name;
    const char* text;
};

void PrintTo(const SheetCase& c, std::ostream* os)
{
    *os << c.name;
}

class MalformedSheet : public ::testing::TestWithParam<SheetCase>
{};

TEST_P(MalformedSheet, DoesNotOpen)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, 600));
    writeFile(dir / "disc.cue", GetParam().text);
    EXPECT_EQ(openResult((dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

INSTANTIATE_TEST_SUITE_P(
    CueSheetScan, MalformedSheet,
    ::testing::Values(
        SheetCase{"Empty", ""},
        SheetCase{"Garbage", "this is not a CUE sheet\n"},
        SheetCase{"LowerCaseKeywords", "file \"disc.bin\" binary\n track 01 audio\n index 01 00:00:00\n"},
        SheetCase{"UnknownKeywordAfterTracks", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"
                                               " BOGUS\n"},
        SheetCase{"UnclosedQuote", "FILE \"disc.bin BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"},
        SheetCase{"FileWithoutType", "FILE \"disc.bin\"\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"},
        SheetCase{"TitleWithTwoValues", "TITLE \"a\" \"b\"\nFILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n"
                                        " INDEX 01 00:00:00\n"},
        SheetCase{"UnknownFlag", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n FLAGS XYZ\n INDEX 01 00:00:00\n"},
        SheetCase{"IndexWithoutTime", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n INDEX 01\n"},
        SheetCase{"IndexBeforeTrack", "FILE \"disc.bin\" BINARY\n INDEX 01 00:00:00\n TRACK 01 AUDIO\n"
                                      " INDEX 01 00:00:00\n"},
        SheetCase{"CookedMode1Sectors", "FILE \"disc.bin\" BINARY\n TRACK 01 MODE1/2048\n INDEX 01 00:00:00\n"},
        SheetCase{"Mode2Form2336", "FILE \"disc.bin\" BINARY\n TRACK 01 MODE2/2336\n INDEX 01 00:00:00\n"},
        SheetCase{"UnknownTrackMode", "FILE \"disc.bin\" BINARY\n TRACK 01 VIDEO\n INDEX 01 00:00:00\n"},
        SheetCase{"NoTracks", "FILE \"disc.bin\" BINARY\n"},
        SheetCase{"TrackBeforeFile", "TRACK 01 AUDIO\n INDEX 01 00:00:00\nFILE \"disc.bin\" BINARY\n"},
        SheetCase{"TrackNumbersSkip", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"
                                      " TRACK 03 AUDIO\n INDEX 01 00:02:00\n"},
        SheetCase{"TrackNumberZero", "FILE \"disc.bin\" BINARY\n TRACK 00 AUDIO\n INDEX 01 00:00:00\n"},
        SheetCase{"UnsupportedFileType", "FILE \"disc.bin\" AIFF\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"},
        SheetCase{"FramesBeyond74", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:75\n"},
        SheetCase{"SecondsBeyond59", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n PREGAP 00:60:00\n"
                                     " INDEX 01 00:00:00\n"},
        SheetCase{"PregapBeforeTrack", "FILE \"disc.bin\" BINARY\n PREGAP 00:02:00\n TRACK 01 AUDIO\n"
                                       " INDEX 01 00:00:00\n"},
        SheetCase{"SessionSkipsANumber", "REM SESSION 01\nFILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n"
                                         " INDEX 01 00:00:00\nREM SESSION 03\n TRACK 02 AUDIO\n INDEX 01 00:02:00\n"},
        SheetCase{"FirstSessionIsTwo", "REM SESSION 02\nFILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n"
                                       " INDEX 01 00:00:00\n"},
        SheetCase{"SessionWithoutTracks", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"
                                          "REM SESSION 02\n"}),
    [](const ::testing::TestParamInfo<SheetCase>& info) { return std::string(info.param.name); });

TEST(CueSheetScan, WindowsLineEndsByteOrderMarkAndNoFinalLineEndAreRead)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, 300));
    writeFile(dir / "disc.cue", "\xEF\xBB\xBF"
                                "FILE \"disc.bin\" BINARY\r\n"
                                "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                                "  TRACK 02 AUDIO\r\n    INDEX 01 00:02:00");
    const DeviceOwner device = openDevice((dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(text(cueify_full_toc_get_track_address(readToc(device.get()).get(), 2)), "00:04:00");
}

TEST(CueSheetScan, FirstTrackNumberNeedNotBeOne)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, 300));
    writeFile(dir / "disc.cue", "FILE \"disc.bin\" BINARY\n"
                                "  TRACK 05 AUDIO\n    INDEX 01 00:00:00\n"
                                "  TRACK 06 AUDIO\n    INDEX 01 00:02:00\n");
    const DeviceOwner device = openDevice((dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    const TocOwner toc = readToc(device.get());
    EXPECT_EQ(cueify_full_toc_get_session_first_track(toc.get(), 1), 5);
    EXPECT_EQ(text(cueify_full_toc_get_track_length(toc.get(), 5)), "00:02:00");
    EXPECT_EQ(cueify_full_toc_get_track_session(toc.get(), 1), 0);
}

TEST(CueSheetScan, CdTextRemarksAndQuotedNamesWithSpacesAreRead)
{
    TempDir dir;
    writeFile(dir / "my disc.bin", patternBytes(1, 300));
    writeFile(dir / "disc.cue", "REM GENRE Test\n"
                                "CATALOG 0000000000000\n"
                                "PERFORMER \"A \\\"quoted\\\" name\"\n"
                                "TITLE Plain\n"
                                "FILE \"my disc.bin\" BINARY\n"
                                "  TRACK 01 AUDIO\n    TITLE \"One\"\n    FLAGS SCMS\n"
                                "    ISRC ABCDE1234567\n    INDEX 01 00:00:00\n"
                                "    INDEX 02 00:01:00\n");
    const DeviceOwner device = openDevice((dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(text(cueify_full_toc_get_track_length(readToc(device.get()).get(), 1)), "00:04:00");
}

} // namespace
} // namespace cueify::test
