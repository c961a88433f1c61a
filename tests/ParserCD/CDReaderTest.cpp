// The disc reader, the drive a path is on, and the wrapper of the disc-access library under both.
#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/MountInfo.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/PlatformDrive.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/RawDeviceName.h"

#include "ParserCDFixture.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <sstream>

namespace {

using namespace cdtest;
using Vantor::Proc::CDReader;
using Vantor::Proc::ICDReader;

// Does not exist on this machine, so drive resolution keeps it as the drive path.
const char* const kDrive = "/dev/rdisk2";

class CDReaderTest : public FakeDiscTest
{
protected:
    support::LogCapture log;
};

// A path that no drive can be found for is kept as given, with a warning. Durations drop frames.
TEST_F(CDReaderTest, UnresolvedPathIsTheDriveAndTheDiscIsListedFromItsTocAloneWithTheDriveClosed)
{
    // An enhanced CD: twelve audio tracks in a first session, one more in a second ending at 40:12:30.
    std::vector<uint32_t> lengths(12, 9000);
    lengths[6] = discgeometry::framesOf({3, 25, 60});
    lengths.push_back(discgeometry::framesOf({7, 38, 30}));
    fake::FakeDisc enhanced = AudioDisc(lengths);
    enhanced.sessions[0].lastTrack = 12;
    enhanced.sessions.push_back({2, 13, 13, CUEIFY_SESSION_MODE_2, {40, 12, 30}});
    disc.setDisc(enhanced);
    SP<ICDReader> reader = CDReader::Create(kDrive);
    EXPECT_TRUE(CDReader::IsCDPath("no/such/drive")); // opened as given, not made absolute
    EXPECT_EQ(disc.openedDevices(), (std::vector<std::string>{kDrive, "no/such/drive"}));
    EXPECT_EQ(disc.liveDevices(), 0);
    disc.failTocRead(CUEIFY_ERR_INTERNAL); // the drive is empty from now on
    EXPECT_FALSE(CDReader::IsCDPath(kDrive));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"WARNING: Can't get drive path for /dev/rdisk2",
                                                     "WARNING: Can't get drive path for no/such/drive",
                                                     "WARNING: Can't get drive path for /dev/rdisk2"}));

    EXPECT_EQ(std::vector<long long>({reader->GetTrackCount(), reader->GetDiskDuration(),
                                      reader->GetTrackDuration(7), reader->GetTrackDuration(13)}),
              std::vector<long long>({13, 2412000000, 205000000, 458000000}));
    EXPECT_EQ(reader->GetTrackPath(7).utf8string() + " " + reader->GetTrackPath(10).utf8string(),
              "cdda:///dev/rdisk2#track7.cda cdda:///dev/rdisk2#track10.cda");
    const auto invalidTrack = [](const std::string& method) {
        return Failure("CDReaderException", "Invalid track index", "virtual Vantor::" + method + " const");
    };
    for (const Vantor::Index track : {0u, 14u}) {
        EXPECT_EQ(FailureOf([&] { reader->GetTrackDuration(track); }),
                  invalidTrack("avTime Vantor::Proc::CDReader::GetTrackDuration(Vantor::Index)"));
        EXPECT_EQ(FailureOf([&] { reader->GetTrackPath(track); }),
                  invalidTrack("ioPath Vantor::Proc::CDReader::GetTrackPath(Vantor::Index)"));
    }
    reader.reset();
    ExpectEverythingFreed();
}

#ifndef __APPLE__

// A disc image, a directory that holds one, or a block device is its own drive; any path inside
// such a directory is on that drive; other paths are on their volume's.
TEST_F(CDReaderTest, PathIsResolvedFromItsAbsoluteFormToItsDriveWithAnInfoLine)
{
    const testsupport::ScratchDirectory scratch, elsewhere;
    const std::string cueSheet = scratch.write("Disc.CUE", "").string();
    const std::string cda = scratch.write("Track01.cda", "").string();
    const std::string nested = scratch.write("covers/front.jpg", "").string();
    const std::string device = (scratch.path() / "sr9").string();
    const bool madeDevice = mknod(device.c_str(), S_IFBLK | 0600, makedev(11, 9)) == 0;
    for (const char* own : {"/Disc.CUE", "", "/"})
        EXPECT_EQ(Vantor::Proc::FindPlatformDrive(scratch.path().string() + own),
                  scratch.path().string() + own);
    for (const std::string& inside : {cda, nested})
        EXPECT_EQ(Vantor::Proc::FindPlatformDrive(inside), scratch.path().string()) << inside;
    if (madeDevice) // creating device nodes takes root
        EXPECT_EQ(Vantor::Proc::FindPlatformDrive(device), device);
    const std::string notes = elsewhere.write("notes.txt", "no disc").string();
    const std::optional<std::string> volume = Vantor::Proc::FindPlatformDrive(notes);
    ASSERT_TRUE(volume);
    EXPECT_NE(*volume, elsewhere.path().string());
    const std::string relative = std::filesystem::relative(cueSheet).string();
    const std::string absolute = (std::filesystem::current_path() / relative).string(); // not normalised
    EXPECT_TRUE(CDReader::IsCDPath(relative));
    disc.failOpen(*volume, CUEIFY_ERR_NO_DEVICE);
    EXPECT_FALSE(CDReader::IsCDPath(notes));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"INFO: Path " + relative + " is on the drive " + absolute,
                                        "INFO: Path " + notes + " is on the drive " + *volume}));
    EXPECT_EQ(disc.openedDevices(), (std::vector<std::string>{absolute, *volume}));
}

#endif

TEST(DrivePath, RawDeviceNameInsertsRAfterTheFifthCharacterAndMountSourceIsFoundByDeviceNumber)
{
    EXPECT_EQ(Vantor::Proc::RawDeviceName("/dev/disk3") + Vantor::Proc::RawDeviceName("/dev/"),
              "/dev/rdisk3/dev/r");
    EXPECT_THROW(Vantor::Proc::RawDeviceName("/dev"), std::out_of_range);
    const std::string mountInfo = "garbage line\n"
                                  "26 1 254:0 / / rw,relatime shared:1 master:2 - ext4 /dev/vda rw\n"
                                  "27 26 254:0 /srv /srv rw - ext4 /dev/vda-bind rw\n"
                                  "41 26 7:3 / /media/x ro - udf /dev/My\\040Drive\\134 ro\n"
                                  "42 26 8:1 / /broken rw no-separator ext4 /dev/sda1\n";
    const std::tuple<unsigned, unsigned, std::optional<std::string>> cases[] = {
        {254, 0, "/dev/vda"}, {7, 3, "/dev/My Drive\\"}, {8, 1, std::nullopt}, {25, 40, std::nullopt}};
    for (const auto& [major, minor, source] : cases) {
        std::istringstream in(mountInfo);
        EXPECT_EQ(Vantor::Proc::FindMountSource(in, major, minor), source) << major << ':' << minor;
    }
}

using CueifyWrapper = FakeDiscTest;

// Failures are Vantor::Exception itself, never a subclass; an empty path calls no C function.
TEST_F(CueifyWrapper, FailuresNameTheirThrowSiteAndFreeTheirHandlesAndAnEmptyPathCallsNothing)
{
    const char* const open = "std::shared_ptr<cueify_device> OpenDevice(const Vantor::ioPath &)";
    const char* const toc =
        "std::shared_ptr<cueify_full_toc> ReadToc(const std::shared_ptr<cueify_device> &)";
    EXPECT_EQ(FailureOf([] { OpenDevice(Vantor::ioPath()); }),
              Failure("Exception", "Empty drive path.", open));
    EXPECT_TRUE(disc.calls().empty());
    const std::tuple<std::function<void()>, std::string, const char*> cases[] = {
        {[&] { disc.failNew(), OpenDevice("/dev/rdisk3"); }, "Cannot create new cueify device.", open},
        {[&] { disc.failOpen(CUEIFY_ERR_NO_DEVICE), OpenDevice("/dev/rdisk3"); },
         "Cannot open cueify device /dev/rdisk3. Cueify error: The device could not be opened.", open},
        {[&] { disc.failTocNew(), ReadToc(OpenDevice("/dev/rdisk3")); }, "Cannot create toc.", toc},
        {[&] { disc.failTocRead(CUEIFY_ERR_INTERNAL), ReadToc(OpenDevice("/dev/rdisk3")); },
         "Cannot read TOC from device. Cueify error: An internal error occured.", toc},
    };
    for (const auto& [call, description, site] : cases) {
        disc.reset();
        EXPECT_EQ(FailureOf(call), Failure("Exception", description, site));
        ExpectEverythingFreed();
    }
}

TEST(CueifyWrapperValues, CueifyError2StringNamesCodesOneToNine)
{
    std::string texts;
    for (int code = -1; code <= 10; ++code)
        texts += CueifyError2String(code) + "\n";
    EXPECT_EQ(texts, R"(Undefined cueify_error.
Undefined cueify_error.
The data requested is not present.
An internal error occured.
A bad argument was provided.
Memory could not be allocated during this operation.
The device could not be opened.
The serialized data was truncated.
The serialized data was corrupted.
The serialized data could not fit.
The CD-Text data was invalid.
Undefined cueify_error.
)");
}

} // namespace
