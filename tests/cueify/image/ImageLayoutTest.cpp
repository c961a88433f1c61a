// Where tracks, pregaps and sessions of an image land, seen through the full TOC.
#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <ostream>

namespace cueify::test {
namespace {

class ImageLayout : public ::testing::Test
{
protected:
    // Opens the sheet over data files of the given sizes (each filled with its own pattern).
    DeviceOwner open(const std::string& sheet, const std::vector<std::pair<std::string, uint32_t>>& files)
    {
        uint32_t tag = 1;
        for (const auto& [name, sectors] : files)
            writeFile(m_dir / name, patternBytes(tag++, sectors));
        writeFile(m_dir / "disc.cue", sheet);
        return openDevice((m_dir / "disc.cue").string());
    }

    TempDir m_dir;
};

TEST_F(ImageLayout, AudioDiscAnswersAsADrive)
{
    const DeviceOwner device = open("FILE \"disc.bin\" BINARY\n"
                                    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    INDEX 00 00:04:00\n    INDEX 01 00:06:00\n"
                                    "  TRACK 03 AUDIO\n    INDEX 01 00:10:00\n",
                                    {{"disc.bin", 1000}});
    ASSERT_NE(device, nullptr);
    const TocOwner toc = readToc(device.get());
    cueify_full_toc* t = toc.get();
    EXPECT_EQ(cueify_full_toc_get_first_session(t), 1);
    EXPECT_EQ(cueify_full_toc_get_last_session(t), 1);
    EXPECT_EQ(cueify_full_toc_get_session_first_track(t, 1), 1);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(t, 1), 3);
    EXPECT_EQ(cueify_full_toc_get_session_type(t, 1), CUEIFY_SESSION_MODE_1);
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(t, 1)), "00:15:25");
    EXPECT_EQ(text(cueify_full_toc_get_track_address(t, 1)), "00:02:00");
    EXPECT_EQ(text(cueify_full_toc_get_track_address(t, 2)), "00:08:00");
    EXPECT_EQ(text(cueify_full_toc_get_track_address(t, 3)), "00:12:00");
    EXPECT_EQ(text(cueify_full_toc_get_track_length(t, 1)), "00:06:00"); // includes track 2's pregap
    EXPECT_EQ(text(cueify_full_toc_get_track_length(t, 2)), "00:04:00");
    EXPECT_EQ(text(cueify_full_toc_get_track_length(t, 3)), "00:03:25");
    for (uint8_t track : {1, 2, 3}) {
        EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, track), 0);
        EXPECT_EQ(cueify_full_toc_get_track_sub_q_channel_format(t, track), 1);
        EXPECT_EQ(cueify_full_toc_get_track_session(t, track), 1);
    }
}

TEST_F(ImageLayout, DataFirstDiscAnswersAsADrive)
{
    const DeviceOwner device = open("FILE \"disc.bin\" BINARY\n"
                                    "  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    INDEX 00 00:04:00\n    INDEX 01 00:06:00\n",
                                    {{"disc.bin", 600}});
    ASSERT_NE(device, nullptr);
    const TocOwner toc = readToc(device.get());
    cueify_full_toc* t = toc.get();
    EXPECT_EQ(cueify_full_toc_get_session_type(t, 1), CUEIFY_SESSION_MODE_1);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, 1), CUEIFY_TOC_TRACK_IS_DATA);
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, 2), 0);
    EXPECT_EQ(text(cueify_full_toc_get_track_length(t, 1)), "00:06:00");
    EXPECT_EQ(text(cueify_full_toc_get_track_address(t, 2)), "00:08:00");
    EXPECT_EQ(text(cueify_full_toc_get_track_length(t, 2)), "00:02:00");
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(t, 1)), "00:10:00");
}

TEST_F(ImageLayout, SessionWithAMode2TrackIsAMode2Session)
{
    const DeviceOwner device = open("FILE \"disc.bin\" BINARY\n"
                                    "  TRACK 01 MODE2/2352\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n",
                                    {{"disc.bin", 300}});
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(cueify_full_toc_get_session_type(readToc(device.get()).get(), 1), CUEIFY_SESSION_MODE_2);
}

TEST_F(ImageLayout, EnhancedCdPutsTheDataSession11400SectorsAfterTheAudioLeadOut)
{
    const DeviceOwner device = open("REM SESSION 01\n"
                                    "FILE \"audio.bin\" BINARY\n"
                                    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n"
                                    "REM SESSION 02\n"
                                    "FILE \"data.bin\" BINARY\n"
                                    "  TRACK 03 MODE2/2352\n    INDEX 01 00:00:00\n",
                                    {{"audio.bin", 300}, {"data.bin", 200}});
    ASSERT_NE(device, nullptr);
    const TocOwner toc = readToc(device.get());
    cueify_full_toc* t = toc.get();
    EXPECT_EQ(cueify_full_toc_get_last_session(t), 2);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(t, 1), 2);
    EXPECT_EQ(cueify_full_toc_get_session_first_track(t, 2), 3);
    EXPECT_EQ(cueify_full_toc_get_session_last_track(t, 2), 3);
    EXPECT_EQ(cueify_full_toc_get_session_type(t, 1), CUEIFY_SESSION_MODE_1);
    EXPECT_EQ(cueify_full_toc_get_session_type(t, 2), CUEIFY_SESSION_MODE_2);
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(t, 1)), "00:06:00");
    EXPECT_EQ(text(cueify_full_toc_get_track_address(t, 3)), "02:38:00"); // 450 + 11400 frames
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(t, 2)), "02:40:50");
    EXPECT_EQ(text(cueify_full_toc_get_track_length(t, 2)), "00:02:00"); // up to lead-out 1, not track 3
    EXPECT_EQ(text(cueify_full_toc_get_track_length(t, 3)), "00:02:50");
    EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, 3), CUEIFY_TOC_TRACK_IS_DATA);
    EXPECT_EQ(cueify_full_toc_get_track_session(t, 3), 2);
}

TEST_F(ImageLayout, GeneratedPregapPushesTheTrackBackAndIsSilence)
{
    const DeviceOwner device = open("FILE \"disc.bin\" BINARY\n"
                                    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    PREGAP 00:01:00\n    INDEX 01 00:02:00\n",
                                    {{"disc.bin", 300}});
    ASSERT_NE(device, nullptr);
    const TocOwner toc = readToc(device.get());
    EXPECT_EQ(text(cueify_full_toc_get_track_address(toc.get(), 2)), "00:05:00");
    EXPECT_EQ(text(cueify_full_toc_get_track_length(toc.get(), 1)), "00:03:00");
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(toc.get(), 1)), "00:07:00");
    EXPECT_EQ(readSector(device.get(), 149), patternSector(1, 149));
    EXPECT_EQ(readSector(device.get(), 150), Sector{});
    EXPECT_EQ(readSector(device.get(), 224), Sector{});
    EXPECT_EQ(readSector(device.get(), 225), patternSector(1, 150));
    EXPECT_EQ(readSector(device.get(), 374), patternSector(1, 299));
}

TEST_F(ImageLayout, GeneratedPregapComesBeforeTheStoredOne)
{
    const DeviceOwner device = open("FILE \"disc.bin\" BINARY\n"
                                    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    PREGAP 00:01:00\n"
                                    "    INDEX 00 00:01:00\n    INDEX 01 00:02:00\n",
                                    {{"disc.bin", 300}});
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(text(cueify_full_toc_get_track_address(readToc(device.get()).get(), 2)), "00:05:00");
    EXPECT_EQ(readSector(device.get(), 74), patternSector(1, 74));
    EXPECT_EQ(readSector(device.get(), 75), Sector{});
    EXPECT_EQ(readSector(device.get(), 150), patternSector(1, 75)); // INDEX 00, stored
    EXPECT_EQ(readSector(device.get(), 225), patternSector(1, 150)); // INDEX 01
}

TEST_F(ImageLayout, PregapOfTheFirstTrackMovesItPastTwoSeconds)
{
    const DeviceOwner device = open("FILE \"disc.bin\" BINARY\n"
                                    "  TRACK 01 MODE1/2352\n    PREGAP 00:02:00\n    INDEX 01 00:00:00\n",
                                    {{"disc.bin", 100}});
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(text(cueify_full_toc_get_track_address(readToc(device.get()).get(), 1)), "00:04:00");
    EXPECT_EQ(readSector(device.get(), 0), Sector{});
    EXPECT_EQ(readSector(device.get(), 150), patternSector(1, 0));
}

TEST_F(ImageLayout, PostgapFollowsItsTrack)
{
    const DeviceOwner device = open("FILE \"disc.bin\" BINARY\n"
                                    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n    POSTGAP 00:01:00\n"
                                    "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n",
                                    {{"disc.bin", 300}});
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(text(cueify_full_toc_get_track_length(readToc(device.get()).get(), 1)), "00:03:00");
    EXPECT_EQ(readSector(device.get(), 150), Sector{});
    EXPECT_EQ(readSector(device.get(), 225), patternSector(1, 150));
}

struct UnfitCase
{
    const char* name;
    const char* tracks;
};

void PrintTo(const UnfitCase& c, std::ostream* os)
{
    *os << c.name;
}

class TracksThatDoNotFit : public ImageLayout, public ::testing::WithParamInterface<UnfitCase>
{};

TEST_P(TracksThatDoNotFit, GiveNoDevice)
{
    writeFile(m_dir / "disc.bin", patternBytes(1, 300));
    writeFile(m_dir / "disc.cue", std::string("FILE \"disc.bin\" BINARY\n") + GetParam().tracks);
    EXPECT_EQ(openResult((m_dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

INSTANTIATE_TEST_SUITE_P(
    ImageLayout, TracksThatDoNotFit,
    ::testing::Values(
        UnfitCase{"StartAtTheFileEnd", "  TRACK 01 AUDIO\n    INDEX 01 00:04:00\n"},
        UnfitCase{"StartPastTheFileEnd", "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                         "  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n"},
        UnfitCase{"Index00AfterIndex01", "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                         "  TRACK 02 AUDIO\n    INDEX 00 00:02:10\n    INDEX 01 00:02:00\n"},
        UnfitCase{"TracksOutOfOrder", "  TRACK 01 AUDIO\n    INDEX 01 00:02:00\n"
                                      "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n"},
        UnfitCase{"EmptyTrack", "  TRACK 01 AUDIO\n    INDEX 01 00:01:00\n"
                                "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n"},
        UnfitCase{"LongerThan99Minutes", "  TRACK 01 AUDIO\n    PREGAP 99:59:00\n    INDEX 01 00:00:00\n"}),
    [](const ::testing::TestParamInfo<UnfitCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace cueify::test
