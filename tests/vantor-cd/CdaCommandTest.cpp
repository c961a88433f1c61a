// vantor-cd cda, and the .cda files it writes opened through a virtual drive.
#include "AudioDecoding.h"
#include "CommandRunner.h"
#include "TempDirectory.h"
#include "TestDisc.h"

#include "mkdisc/CdaFile.h"

#include <gtest/gtest.h>

namespace vantorcd::test {
namespace {

using Lines = std::vector<std::string>;

class CdaCommand : public ::testing::Test
{
protected:
    static mkdisc::DiscSpec withoutCdaFiles()
    {
        mkdisc::DiscSpec spec = enhancedDisc();
        spec.writeCdaFiles = false;
        return spec;
    }

    TempDirectory directory;
    std::filesystem::path drive = directory.path() / "drive";
    TestDisc disc = writeTestDisc(withoutCdaFiles(), drive);
    CommandSetup virtualDrive{{{"CUEIFY_VIRTUAL_DRIVES", drive.string()}}, {}};
};

TEST_F(CdaCommand, WritesOneFilePerAudioTrackWithTheDiscSerial)
{
    const CommandResult result = runVantorCd({"cda", drive.string(), drive.string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.outLines(), (Lines{(drive / "Track01.cda").string(), (drive / "Track02.cda").string()}));
    const uint32_t serial = mkdisc::discSerialNumber(disc.layout);
    for (unsigned number : {1u, 2u}) {
        const mkdisc::TrackLayout& track = disc.track(number);
        const auto expected = mkdisc::encodeCdaFile(
            {static_cast<uint16_t>(number), serial, track.startLba, track.lengthSectors});
        const std::vector<uint8_t> bytes = readBytes(drive / ("Track0" + std::to_string(number) + ".cda"));
        EXPECT_TRUE(bytes == std::vector<uint8_t>(expected.begin(), expected.end())) << number;
    }
}

TEST_F(CdaCommand, WrittenFilesOpenThroughTheVirtualDrive)
{
    ASSERT_EQ(runVantorCd({"cda", disc.cueSheet(), drive.string()}).exitCode, 0);
    const std::string trackFile = (drive / "Track02.cda").string();

    const CommandResult info = runVantorCd({"info", trackFile}, virtualDrive);
    EXPECT_EQ(info.exitCode, 0) << info.err;
    ASSERT_GE(info.outLines().size(), 3u);
    EXPECT_EQ(info.outLines()[1], "number    2");
    EXPECT_EQ(info.outLines()[2], "drive     " + drive.string());

    const std::string wav = (directory.path() / "out.wav").string();
    const CommandResult rip = runVantorCd({"rip", trackFile, "-o", wav}, virtualDrive);
    EXPECT_EQ(rip.exitCode, 0) << rip.err;
    EXPECT_TRUE(waveDataChunk(wav) == disc.trackPcm(2));
}

TEST_F(CdaCommand, TrackFileOfADiscInNoDriveIsNamed)
{
    ASSERT_EQ(runVantorCd({"cda", disc.cueSheet(), drive.string()}).exitCode, 0);
    const std::string trackFile = (drive / "Track01.cda").string();
    const CommandResult result =
        runVantorCd({"rip", trackFile, "-o", (directory.path() / "out.wav").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errLines(), Lines{"vantor-cd: no drive holds the disc of " + trackFile +
                                       " (a disc image counts as a drive when its directory is named in "
                                       "CUEIFY_VIRTUAL_DRIVES)"});
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "out.wav"));
}

} // namespace
} // namespace vantorcd::test
