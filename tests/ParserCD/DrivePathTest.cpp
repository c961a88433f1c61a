#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/MountInfo.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/PlatformDrive.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/RawDeviceName.h"

#include "LogCapture.h"
#include "ScratchDirectory.h"
#include "cueify_fake/FakeCueify.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace {

using Vantor::Proc::CDReader;
using Vantor::Proc::FindMountSource;
using Vantor::Proc::FindPlatformDrive;
using Vantor::Proc::ICDReader;
using Vantor::Proc::RawDeviceName;

struct RawNameCase
{
    const char* blockDevice;
    const char* rawDevice;
};

class RawDeviceNameCase : public testing::TestWithParam<RawNameCase>
{
};

TEST_P(RawDeviceNameCase, InsertsRAfterTheFifthCharacter)
{
    EXPECT_EQ(RawDeviceName(GetParam().blockDevice), GetParam().rawDevice);
}

INSTANTIATE_TEST_SUITE_P(DrivePath, RawDeviceNameCase,
                         testing::Values(RawNameCase{"/dev/disk3", "/dev/rdisk3"},
                                         RawNameCase{"/dev/disk12s1", "/dev/rdisk12s1"},
                                         RawNameCase{"/dev/", "/dev/r"}, RawNameCase{"abcde", "abcder"}));

TEST(DrivePath, RawDeviceNameShorterThanFiveCharactersIsOutOfRange)
{
    EXPECT_THROW(RawDeviceName("/dev"), std::out_of_range);
    EXPECT_THROW(RawDeviceName(""), std::out_of_range);
}

// Lines as the kernel writes them, with optional fields, escapes and a line without separator.
const char* const kMountInfo = "21 26 0:20 / /proc rw,relatime - proc proc rw\n"
                               "garbage line\n"
                               "26 1 254:0 / / rw,relatime shared:1 master:2 - ext4 /dev/vda rw\n"
                               "27 26 254:0 /srv /srv rw - ext4 /dev/vda-bind rw\n"
                               "40 26 11:0 / /media/My\\040Disc ro - iso9660 /dev/sr0 ro\n"
                               "41 26 7:3 / /media/x ro - udf /dev/My\\040Drive\\134x ro\n"
                               "42 26 8:1 / /broken rw no-separator ext4 /dev/sda1\n";

struct MountCase
{
    unsigned major;
    unsigned minor;
    std::optional<std::string> source;
};

class MountSourceCase : public testing::TestWithParam<MountCase>
{
};

TEST_P(MountSourceCase, IsFoundByDeviceNumber)
{
    std::istringstream mountInfo(kMountInfo);
    EXPECT_EQ(FindMountSource(mountInfo, GetParam().major, GetParam().minor), GetParam().source);
}

INSTANTIATE_TEST_SUITE_P(DrivePath, MountSourceCase,
                         testing::Values(MountCase{0, 20, "proc"}, MountCase{254, 0, "/dev/vda"},
                                         MountCase{11, 0, "/dev/sr0"}, MountCase{7, 3, "/dev/My Drive\\x"},
                                         MountCase{8, 1, std::nullopt}, MountCase{25, 40, std::nullopt}));

// Logs through glog and opens drives through the fake; starts every test with both empty.
class DriveResolution : public testing::Test
{
protected:
    void SetUp() override { fake.reset(); }
    void TearDown() override { fake.reset(); }

    fake::FakeCueify& fake = fake::FakeCueify::instance();
    support::LogCapture log;
    testsupport::ScratchDirectory scratch;
};

TEST_F(DriveResolution, MissingPathIsKeptWithAWarning)
{
    fake.failOpen(CUEIFY_ERR_NO_DEVICE);
    EXPECT_FALSE(CDReader::IsCDPath("no/such/disc"));
    const std::vector<support::LogLine> lines = log.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].severity, google::GLOG_WARNING);
    EXPECT_EQ(lines[0].message, "Can't get drive path for no/such/disc");
    EXPECT_EQ(lines[0].file, "CDReader.cpp");
    ASSERT_EQ(fake.countCalls("cueify_device_open"), 1u);
    EXPECT_EQ(fake.calls()[1].text, "no/such/disc");
}

TEST_F(DriveResolution, MissingPathThatNamesADriveStillOpens)
{
    EXPECT_TRUE(CDReader::IsCDPath("/dev/rdisk5"));
    EXPECT_EQ(log.messages(google::GLOG_WARNING),
              std::vector<std::string>{"Can't get drive path for /dev/rdisk5"});
}

// Relative paths resolve against the working directory, which this restores when it goes.
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const std::filesystem::path& directory)
        : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(directory);
    }
    ~WorkingDirectory() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

#ifndef __APPLE__

TEST_F(DriveResolution, CueSheetIsItsOwnDriveByItsAbsolutePath)
{
    const std::string cueSheet = scratch.write("disc.cue", "").string();
    const WorkingDirectory inScratch(scratch.path());
    const Vantor::SP<ICDReader> reader = CDReader::Create("disc.cue");
    EXPECT_EQ(log.messages(google::GLOG_INFO),
              std::vector<std::string>{"Path disc.cue is on the drive " + cueSheet});
    EXPECT_TRUE(log.messages(google::GLOG_WARNING).empty());
    EXPECT_EQ(fake.calls()[1].text, cueSheet);
}

struct OwnDriveCase
{
    const char* file;  // written inside the scratch directory; nullptr for none
    const char* asked; // relative to the scratch directory
    const char* drive; // relative to the scratch directory
};

class OwnDrive : public DriveResolution, public testing::WithParamInterface<OwnDriveCase>
{
};

TEST_P(OwnDrive, IsThePathItself)
{
    if (GetParam().file != nullptr)
        scratch.write(GetParam().file, "");
    const std::string asked = (scratch.path() / GetParam().asked).string();
    EXPECT_EQ(FindPlatformDrive(asked), (scratch.path() / GetParam().drive).string());
}

INSTANTIATE_TEST_SUITE_P(DrivePath, OwnDrive,
                         testing::Values(OwnDriveCase{"disc.cue", "disc.cue", "disc.cue"},
                                         OwnDriveCase{"Disc.CUE", "Disc.CUE", "Disc.CUE"},
                                         OwnDriveCase{"drive/disc.cue", "drive", "drive"},
                                         OwnDriveCase{"drive/disc.cue", "drive/", "drive/"}));

TEST_F(DriveResolution, MissingPathHasNoDrive)
{
    EXPECT_EQ(FindPlatformDrive((scratch.path() / "missing.cue").string()), std::nullopt);
}

TEST_F(DriveResolution, BlockDeviceIsItsOwnDrive)
{
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator("/dev")) {
        if (entry.is_block_file()) {
            EXPECT_EQ(FindPlatformDrive(entry.path().string()), entry.path().string());
            return;
        }
    }
    GTEST_SKIP() << "no block device in /dev";
}

// What util-linux reports as the device the volume holding path is mounted from.
std::optional<std::string> FindmntSource(const std::filesystem::path& path)
{
    const std::string command =
        "findmnt --noheadings --nofsroot --output SOURCE --target '" + path.string() + "'";
    const std::unique_ptr<FILE, int (*)(FILE*)> output(popen(command.c_str(), "r"), pclose);
    char line[4096] = {};
    if (!output || fgets(line, sizeof line, output.get()) == nullptr)
        return std::nullopt;
    std::string source(line);
    source.erase(source.find_last_not_of('\n') + 1);
    return source;
}

TEST_F(DriveResolution, OtherPathsAreOnTheDeviceTheirVolumeIsMountedFrom)
{
    const std::filesystem::path notes = scratch.write("notes.txt", "no disc");
    const std::optional<std::string> expected = FindmntSource(notes);
    if (!expected)
        GTEST_SKIP() << "findmnt is not available";
    EXPECT_EQ(FindPlatformDrive(notes.string()), expected);
    EXPECT_EQ(FindPlatformDrive(scratch.path().string()), expected);

    fake.failOpen(CUEIFY_ERR_NO_DEVICE);
    EXPECT_FALSE(CDReader::IsCDPath(notes.string()));
    EXPECT_EQ(log.messages(google::GLOG_INFO),
              std::vector<std::string>{"Path " + notes.string() + " is on the drive " + *expected});
    EXPECT_EQ(log.lines().size(), 1u);
}

#endif

} // namespace
