// The drive backend's own interface on emulated drives. Read-ahead, counted: sectors read in order
// come in batches, each from the disc and served once, and an uncached read passes them by.
// C2 error pointers, where unstable sectors come back changed on every second read: the pointers
// mark exactly the changed bytes, where the drive offers them at all.
#include "EmulatedDrives.h"
#include "cueify_testing/CueifyTesting.h"
#include "drive_emulator/DriveCounters.h"

#include "core/ApiGuard.h"
#include "device/Device.h"

#include <mkdisc/DiscWriter.h>

#include <functional>

namespace cueify::test {
namespace {

constexpr const char* kTracks = "audio:100 mode1:60";
constexpr const char* kDrives = "/dev/sr1 audio:100 mode1:60;"
                                "/dev/sr3 unstable=0 unstable=30 unstable=159 audio:100 mode1:60;"
                                "/dev/sr4 max-sectors-kb=30 audio:100 mode1:60;"
                                "/dev/sr5 unstable=30 unstable=120 audio:100 mode1:60;"
                                "/dev/sr6 no-c2 unstable=30 audio:100 mode1:60";
using Pointers = std::array<uint8_t, kC2PointerBytes>;

uint64_t readCdCommands(const char* path)
{
    return driveemulator::readDriveCounters(path).value().readCdCommands; // none: an exception fails the test
}

mkdisc::Sector written(uint32_t lba)
{
    return mkdisc::sectorAt(testsupport::discOfTrackWords(kTracks), lba);
}

// Reads the sectors in order; the result of each, compared with what the disc holds.
std::vector<int> readInOrder(Device& device, uint32_t first, uint32_t end)
{
    std::vector<int> results;
    for (uint32_t lba = first; lba < end; ++lba) {
        Sector sector{};
        int result = guardedCall([&] { device.readRawSector(Lba{lba}, sector.data()); });
        if (result == CUEIFY_OK && sector != written(lba))
            result = -1000;
        results.push_back(result);
    }
    return results;
}

TEST(DriveReadAhead, SectorsReadInOrderComeInBatchesWithinATrack)
{
    const std::tuple<const char*, uint32_t, uint32_t, uint64_t> cases[] = {
        {"/dev/sr1", 0, 100, 4},  // 26 + 26 + 26 + 22: the audio track ends at 100
        {"/dev/sr1", 90, 110, 2}, // the rest of the audio track, then the data track
        {"/dev/sr1", 100, 160, 3},
        {"/dev/sr4", 0, 27, 3}, // a kernel limit of 30 KiB: 13 sectors a command, 13 + 13 + 1
    };
    for (const auto& [path, first, end, commands] : cases) {
        SCOPED_TRACE(std::string(path) + " from " + std::to_string(first));
        const std::unique_ptr<Device> device = openDrive(path);
        const uint64_t before = readCdCommands(path);
        EXPECT_EQ(readInOrder(*device, first, end), std::vector<int>(end - first, CUEIFY_OK));
        EXPECT_EQ(readCdCommands(path) - before, commands);
    }
}

TEST(DriveReadAhead, ASeekDropsTheBatch)
{
    const std::unique_ptr<Device> device = openDrive("/dev/sr1");
    const uint64_t before = readCdCommands("/dev/sr1");
    EXPECT_EQ(readInOrder(*device, 10, 12), std::vector<int>(2, CUEIFY_OK));
    EXPECT_EQ(readInOrder(*device, 50, 51), std::vector<int>{CUEIFY_OK});
    EXPECT_EQ(readInOrder(*device, 12, 13), std::vector<int>{CUEIFY_OK});
    EXPECT_EQ(readCdCommands("/dev/sr1") - before, 3u);
}

// Past the drive's cache too: the sector at the other end of the disc is read first, then the
// sector itself, once. Sectors 0, 30 and 159 of /dev/sr3 read back changed on every second read.
TEST(DriveReadAhead, AnUncachedReadGoesToTheDiscPastTheDrivesCache)
{
    const std::unique_ptr<Device> device = openDrive("/dev/sr3");
    EXPECT_EQ(readInOrder(*device, 29, 30), std::vector<int>{CUEIFY_OK});
    Sector sector{};
    Pointers pointers{};
    // Sector 30 was read in the batch: this is its second read. 0 and 159 are each other's far end.
    const std::pair<uint32_t, std::function<void()>> reads[] = {
        {30, [&] { device->readRawSectorUncached(Lba{30}, sector.data()); }},
        {0, [&] { device->readRawSectorUncached(Lba{0}, sector.data()); }},
        {159, [&] { device->readRawSectorUncachedWithC2(Lba{159}, sector.data(), pointers.data()); }}};
    for (const auto& [lba, read] : reads) {
        const uint64_t before = readCdCommands("/dev/sr3");
        read();
        EXPECT_EQ(readCdCommands("/dev/sr3") - before, 2u) << lba;
        EXPECT_EQ(sector == written(lba), lba != 30) << lba;
    }
    EXPECT_EQ(readInOrder(*device, 30, 31), std::vector<int>{CUEIFY_OK});
}

// One read with C2 pointers: the bytes that differ from the disc's, and the bytes the pointers mark.
std::string readWithC2(Device& device, uint32_t lba)
{
    Sector sector{};
    Pointers pointers;
    pointers.fill(0xEE);
    device.readRawSectorUncachedWithC2(Lba{lba}, sector.data(), pointers.data());
    const mkdisc::Sector disc = written(lba);
    std::string changed = "changed", marked = ", marked";
    for (size_t byte = 0; byte < sector.size(); ++byte) {
        changed += sector[byte] != disc[byte] ? " " + std::to_string(byte) : "";
        marked += (pointers[byte / 8] & 0x80 >> byte % 8) != 0 ? " " + std::to_string(byte) : "";
    }
    return changed + marked;
}

TEST(DriveC2, PointersMarkTheBytesAnUnstableReadChangedWhereTheDriveOffersThem)
{
    const std::unique_ptr<Device> c2 = openDrive("/dev/sr5"), noC2 = openDrive("/dev/sr6");
    const std::string clean = "changed, marked",
                      unstable = "changed 1000 1001 1002 1003, marked 1000 1001 1002 1003";
    // Successive reads of an audio and a data sector.
    for (const uint32_t lba : {30, 120}) {
        const std::vector<std::string> reads{readWithC2(*c2, lba), readWithC2(*c2, lba),
                                             readWithC2(*c2, lba)};
        EXPECT_EQ(reads, (std::vector<std::string>{clean, unstable, clean})) << "LBA " << lba;
    }
    Sector sector{};
    Pointers pointers{};
    EXPECT_EQ(
        guardedCall([&] { noC2->readRawSectorUncachedWithC2(Lba{30}, sector.data(), pointers.data()); }),
        CUEIFY_NO_DATA);
    EXPECT_EQ(guardedCall([&] { c2->readRawSectorUncachedWithC2(Lba{30}, sector.data(), nullptr); }),
              CUEIFY_ERR_BADARG);
    EXPECT_EQ(guardedCall([&] { c2->readRawSectorUncachedWithC2(Lba{160}, sector.data(), pointers.data()); }),
              CUEIFY_ERR_BADARG);
}

} // namespace
} // namespace cueify::test

int main(int argc, char** argv)
{
    testsupport::runWithEmulatedDrives(argv, cueify::test::kDrives);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
