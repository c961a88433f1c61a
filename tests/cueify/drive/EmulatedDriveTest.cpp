// The drive backend through the public API on emulated drives, against the image route: the same
// disc written as an image must give the same TOC and the same bytes in every sector.
#include "CueifyTesting.h"
#include "EmulatedDrives.h"
#include "drive_emulator/DriveCounters.h"

#include <mkdisc/DiscWriter.h>

#include <cstring>
#include <map>

namespace cueify::test {
namespace {

struct Drive
{
    const char* path;
    const char* behaviour;
    const char* tracks;
};

constexpr const char* kHiddenTrack = "audio:300,pregap=40 audio:200,flags=dcp audio:150,flags=pre";
constexpr const char* kEnhanced = "audio:300 audio:250 / mode1:300";
constexpr const char* kDataFirst = "mode1:200,byte16=7 audio:300 mode2:100";

std::string ninetyNineTracks()
{
    std::string words;
    for (int track = 1; track <= 99; ++track)
        words += track % 10 == 0 ? "audio:13,flags=dcp " : "audio:13 ";
    return words;
}

const std::string kNinetyNine = ninetyNineTracks();

const Drive kDrives[] = {
    {"/dev/sr1", "", kHiddenTrack},
    {"/dev/sr2", "", kEnhanced},
    {"/dev/sr3", "", kDataFirst},
    {"/dev/sr4", "", kNinetyNine.c_str()},
    {"/dev/sr5", "ready-after=4", kEnhanced},
    {"/dev/sr6", "", ""},
    {"/dev/sr9", "medium-error=500x4 medium-error=20 unstable=30", kEnhanced},
    {"/dev/sr10", "offset=30", kHiddenTrack},
    {"/dev/sr11", "offset=-700", kHiddenTrack},
    {"/dev/sr12", "no-full-toc", kEnhanced},
    {"/dev/sr13", "no-full-toc", kHiddenTrack},
    {"/dev/sr14", "bcd-toc", kHiddenTrack},
    {"/dev/sr15", "bcd-toc", kEnhanced},
    {"/dev/sr16", "bcd-toc", kNinetyNine.c_str()},
    {"/dev/sr17", "older-toc", kEnhanced},
};

std::string emulatedDrives()
{
    std::string text;
    for (const Drive& drive : kDrives)
        text += std::string(drive.path) + " " + drive.behaviour + " " + drive.tracks + ";";
    return text;
}

const Drive& driveAt(const std::string& path)
{
    for (const Drive& drive : kDrives)
        if (path == drive.path)
            return drive;
    throw std::invalid_argument(path);
}

// The drive's disc written as an image, opened through the image backend.
class ImageOf
{
public:
    explicit ImageOf(const std::string& path)
        : m_disc(testsupport::discOfTrackWords(driveAt(path).tracks)),
          m_cueSheet(mkdisc::writeDisc(m_disc, m_scratch.path()).cueSheet), m_device(openDevice(m_cueSheet))
    {
    }
    cueify_device* device() const { return m_device.get(); }
    const fs::path& cueSheet() const { return m_cueSheet; }
    const mkdisc::DiscSpec& disc() const { return m_disc; }

private:
    testsupport::ScratchDirectory m_scratch;
    mkdisc::DiscSpec m_disc;
    fs::path m_cueSheet;
    DeviceOwner m_device;
};

std::string sectorText(cueify_device* device, uint32_t lba)
{
    Sector sector{};
    const int result = cueify_device_read_raw(device, lba, sector.data());
    return result == CUEIFY_OK ? std::string(sector.begin(), sector.end())
                               : "error " + std::to_string(result);
}

// Every sector the TOC places in a track, from LBA 0 (a hidden first track's audio included).
std::vector<uint32_t> sectorsOfTracks(cueify_full_toc* toc)
{
    const int first = cueify_full_toc_get_session_first_track(toc, cueify_full_toc_get_first_session(toc));
    const int last = cueify_full_toc_get_session_last_track(toc, cueify_full_toc_get_last_session(toc));
    std::vector<uint32_t> sectors;
    for (int track = first; track <= last; ++track) {
        const cueify_msf_t start = cueify_full_toc_get_track_address(toc, static_cast<uint8_t>(track));
        const cueify_msf_t length = cueify_full_toc_get_track_length(toc, static_cast<uint8_t>(track));
        const uint32_t lba = (start.min * 60u + start.sec) * 75u + start.frm - 150u;
        const uint32_t end = lba + (length.min * 60u + length.sec) * 75u + length.frm;
        for (uint32_t sector = track == first ? 0 : lba; sector < end; ++sector)
            sectors.push_back(sector);
    }
    return sectors;
}

TEST(EmulatedDrive, TocAndEverySectorMatchTheImage)
{
    for (const char* path : {"/dev/sr1", "/dev/sr2", "/dev/sr3", "/dev/sr4", "/dev/sr5", "/dev/sr12",
                             "/dev/sr13", "/dev/sr14", "/dev/sr15", "/dev/sr16", "/dev/sr17"}) {
        SCOPED_TRACE(path);
        const ImageOf image(path);
        const DeviceOwner drive = openDevice(path);
        const TocOwner driveToc = readToc(drive.get()), imageToc = readToc(image.device());
        ASSERT_NE(imageToc, nullptr);
        ASSERT_NE(driveToc, nullptr);
        EXPECT_EQ(describeToc(driveToc.get()), describeToc(imageToc.get()));
        size_t differing = 0;
        for (uint32_t lba : sectorsOfTracks(imageToc.get()))
            differing += sectorText(drive.get(), lba) != sectorText(image.device(), lba);
        EXPECT_EQ(differing, 0u);
    }
}

uint64_t commandsServed(const char* path)
{
    const auto counters = driveemulator::readDriveCounters(path);
    EXPECT_TRUE(counters.has_value());
    return counters ? counters->commands : 0;
}

// Opening a drive reads its TOC, which the first TOC asked for then gives without asking the drive
// again; a later one asks it.
TEST(EmulatedDrive, TheFirstTocAfterOpeningADriveIsTheOneReadAtOpen)
{
    for (const char* path : {"/dev/sr2", "/dev/sr12", "/dev/sr4"}) {
        SCOPED_TRACE(path);
        const DeviceOwner drive = openDevice(path);
        const uint64_t afterOpen = commandsServed(path);
        const TocOwner first = readToc(drive.get());
        EXPECT_EQ(commandsServed(path), afterOpen);
        const TocOwner again = readToc(drive.get());
        EXPECT_GT(commandsServed(path), afterOpen);
        ASSERT_TRUE(first && again);
        EXPECT_EQ(describeToc(first.get()), describeToc(again.get()));
    }
}

TEST(EmulatedDrive, AnEmptyDriveOpensAsNoDevice)
{
    openDevice("/dev/sr6", CUEIFY_ERR_NO_DEVICE);
}

TEST(EmulatedDrive, ListingNamesTheEmulatedDrivesThenTheVirtualOnes)
{
    const ImageOf virtualDrive("/dev/sr1");
    const std::string directory = fs::path(virtualDrive.cueSheet()).parent_path().string();
    setenv("CUEIFY_VIRTUAL_DRIVES", directory.c_str(), 1);
    size_t count = 0;
    std::unique_ptr<char*, decltype(&std::free)> names(cueify_device_get_all_devices(&count), &std::free);
    unsetenv("CUEIFY_VIRTUAL_DRIVES");
    std::vector<std::string> listed(names.get(), names.get() + count);
    std::vector<std::string> expected;
    for (const Drive& drive : kDrives)
        expected.push_back(drive.path);
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    expected.push_back(directory);
    EXPECT_EQ(listed, expected);
    EXPECT_STREQ(cueify_device_get_default_device(), "/dev/sr1");
}

TEST(EmulatedDrive, ReadErrorsAndUnstableSectorsReachTheCallerAsTheDriveGivesThem)
{
    const ImageOf image("/dev/sr9");
    const DeviceOwner drive = openDevice("/dev/sr9");
    const std::string failed = "error " + std::to_string(CUEIFY_ERR_INTERNAL);
    // A sector whose first four reads fail (a failed request reads it twice: in a batch, then
    // alone), one that always fails, one whose every second read differs.
    const std::pair<uint32_t, std::vector<bool>> cases[] = {
        {500, {false, false, true, true}}, {20, {false, false, false}}, {30, {true, false, true, false}}};
    for (const auto& [lba, expected] : cases) {
        const std::string good = sectorText(image.device(), lba);
        for (size_t read = 0; read < expected.size(); ++read)
            EXPECT_EQ(sectorText(drive.get(), lba) == good, expected[read])
                << "LBA " << lba << ", read " << read;
    }
    EXPECT_EQ(sectorText(drive.get(), 20), failed);
    EXPECT_EQ(sectorText(drive.get(), 499), sectorText(image.device(), 499));
}

// A drive with a read offset delivers the samples that many samples later (or earlier), and
// silence where they lie before the disc's first sector.
TEST(EmulatedDrive, ReadOffsetShiftsTheAudioAcrossSectorBoundaries)
{
    const ImageOf image("/dev/sr10");
    std::string disc(4 * CUEIFY_RAW_SECTOR_SIZE, '\0');
    for (uint32_t lba = 0; lba < 3; ++lba)
        disc += sectorText(image.device(), lba);
    for (const auto& [path, samples] : {std::pair<const char*, int>{"/dev/sr10", 30}, {"/dev/sr11", -700}}) {
        SCOPED_TRACE(path);
        const DeviceOwner drive = openDevice(path);
        for (uint32_t lba = 0; lba < 2; ++lba)
            EXPECT_TRUE(sectorText(drive.get(), lba) ==
                        disc.substr((lba + 4) * CUEIFY_RAW_SECTOR_SIZE + samples * 4, CUEIFY_RAW_SECTOR_SIZE))
                << lba;
    }
}

} // namespace
} // namespace cueify::test

int main(int argc, char** argv)
{
    testsupport::runWithEmulatedDrives(argv, cueify::test::emulatedDrives());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
