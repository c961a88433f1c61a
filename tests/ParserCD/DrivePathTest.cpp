#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/MountInfo.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/PlatformDrive.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/RawDeviceName.h"

#include "LogCapture.h"
#include "ParserCDFixture.h"
#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace {

using namespace cdtest;
using Vantor::Proc::CDReader;
using Vantor::Proc::FindPlatformDrive;
namespace fs = std::filesystem;

TEST(DrivePath, RawDeviceNameInsertsRAfterTheFifthCharacter)
{
    EXPECT_EQ(Vantor::Proc::RawDeviceName("/dev/disk3"), "/dev/rdisk3");
    EXPECT_EQ(Vantor::Proc::RawDeviceName("/dev/"), "/dev/r");
    EXPECT_THROW(Vantor::Proc::RawDeviceName("/dev"), std::out_of_range);
}

TEST(DrivePath, MountSourceIsFoundByDeviceNumberWithEscapesDecoded)
{
    const std::string mountInfo = "garbage line\n"
                                  "26 1 254:0 / / rw,relatime shared:1 master:2 - ext4 /dev/vda rw\n"
                                  "27 26 254:0 /srv /srv rw - ext4 /dev/vda-bind rw\n"
                                  "41 26 7:3 / /media/x ro - udf /dev/My\\040Drive\\134x ro\n"
                                  "42 26 8:1 / /broken rw no-separator ext4 /dev/sda1\n";
    const std::tuple<unsigned, unsigned, std::optional<std::string>> cases[] = {
        {254, 0, "/dev/vda"}, {7, 3, "/dev/My Drive\\x"}, {8, 1, std::nullopt}, {25, 40, std::nullopt}};
    for (const auto& [major, minor, source] : cases) {
        std::istringstream in(mountInfo);
        EXPECT_EQ(Vantor::Proc::FindMountSource(in, major, minor), source) << major << ':' << minor;
    }
}

class DriveResolution : public cdtest::FakeDiscTest
{
protected:
    support::LogCapture log;
    testsupport::ScratchDirectory scratch;
};

TEST_F(DriveResolution, UnresolvablePathIsKeptWithAWarningAndIsACDPathOnlyIfItsTocReads)
{
    EXPECT_TRUE(CDReader::IsCDPath("no/such/disc"));
    disc.failTocRead(CUEIFY_ERR_INTERNAL);
    EXPECT_FALSE(CDReader::IsCDPath("no/such/disc"));
    disc.failOpen(CUEIFY_ERR_NO_DEVICE);
    EXPECT_FALSE(CDReader::IsCDPath("no/such/disc"));

    ASSERT_EQ(log.lines().size(), 3u);
    EXPECT_EQ(log.lines()[0].file, "CDReader.cpp");
    EXPECT_EQ(log.messages(google::GLOG_WARNING),
              std::vector<std::string>(3, "Can't get drive path for no/such/disc"));
    EXPECT_EQ(OpenedDevices(), std::vector<std::string>(3, "no/such/disc"));
    ExpectEverythingFreed();
}

#ifndef __APPLE__

TEST_F(DriveResolution, CueSheetIsItsOwnDriveByItsAbsolutePath)
{
    const std::string cueSheet = scratch.write("disc.cue", "").string();
    const fs::path previous = fs::current_path();
    fs::current_path(scratch.path());
    EXPECT_TRUE(CDReader::IsCDPath("disc.cue"));
    fs::current_path(previous);
    EXPECT_EQ(log.messages(google::GLOG_INFO),
              std::vector<std::string>{"Path disc.cue is on the drive " + cueSheet});
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(OpenedDevices(), std::vector<std::string>{cueSheet});
}

TEST_F(DriveResolution, SheetsTheirDirectoriesAndBlockDevicesAreTheirOwnDriveOtherPathsTheirVolumes)
{
    scratch.write("Disc.CUE", "");
    scratch.write("drive/disc.cue", "");
    for (const char* own : {"Disc.CUE", "drive", "drive/"})
        EXPECT_EQ(FindPlatformDrive((scratch.path() / own).string()), (scratch.path() / own).string());
    EXPECT_EQ(FindPlatformDrive((scratch.path() / "missing.cue").string()), std::nullopt);
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev")) {
        if (entry.is_block_file()) {
            EXPECT_EQ(FindPlatformDrive(entry.path().string()), entry.path().string());
            break;
        }
    }

    // A volume that is no disc: the drive is the volume's mount source, which is no CD.
    const std::string notes = scratch.write("notes.txt", "no disc").string();
    const std::optional<std::string> volume = FindPlatformDrive(notes);
    ASSERT_TRUE(volume && !volume->empty() && *volume != notes);
    disc.failOpen(CUEIFY_ERR_NO_DEVICE);
    EXPECT_FALSE(CDReader::IsCDPath(notes));
    EXPECT_EQ(log.messages(google::GLOG_INFO),
              std::vector<std::string>{"Path " + notes + " is on the drive " + *volume});
}

#endif

} // namespace
