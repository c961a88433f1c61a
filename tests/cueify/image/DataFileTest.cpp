#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace cueify::test {
namespace {

const char* kOneTrackSheet = "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";

TEST(DataFile, PartialSectorAtTheEndIsNotOnTheDisc)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, 20, CUEIFY_RAW_SECTOR_SIZE - 1));
    writeFile(dir / "disc.cue", kOneTrackSheet);
    const DeviceOwner device = openDevice((dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    const TocOwner toc = readToc(device.get());
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(toc.get(), 1)), "00:02:20");
    EXPECT_EQ(text(cueify_full_toc_get_track_length(toc.get(), 1)), "00:00:20");
    uint8_t buffer[CUEIFY_RAW_SECTOR_SIZE];
    EXPECT_EQ(cueify_device_read_raw(device.get(), 19, buffer), CUEIFY_OK);
    EXPECT_EQ(cueify_device_read_raw(device.get(), 20, buffer), CUEIFY_ERR_BADARG);
}

TEST(DataFile, FileShrunkAfterOpenFailsTheReadsPastItsNewEnd)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, 20));
    writeFile(dir / "disc.cue", kOneTrackSheet);
    const DeviceOwner device = openDevice((dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    fs::resize_file(dir / "disc.bin", 10 * CUEIFY_RAW_SECTOR_SIZE + 100);

    uint8_t buffer[CUEIFY_RAW_SECTOR_SIZE];
    EXPECT_EQ(cueify_device_read_raw(device.get(), 9, buffer), CUEIFY_OK);
    EXPECT_EQ(cueify_device_read_raw(device.get(), 10, buffer), CUEIFY_ERR_INTERNAL); // only 100 bytes left
    EXPECT_EQ(cueify_device_read_raw(device.get(), 19, buffer), CUEIFY_ERR_INTERNAL);
}

TEST(DataFile, MissingDataFileIsNoDevice)
{
    TempDir dir;
    writeFile(dir / "disc.cue", kOneTrackSheet);
    EXPECT_EQ(openResult((dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

TEST(DataFile, DirectoryNamedAsDataFileIsNoDevice)
{
    TempDir dir;
    fs::create_directory(dir / "disc.bin");
    writeFile(dir / "disc.cue", kOneTrackSheet);
    EXPECT_EQ(openResult((dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

TEST(DataFile, FifoNamedAsDataFileIsNoDeviceWithoutBlocking)
{
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "disc.bin").c_str(), 0600), 0);
    writeFile(dir / "disc.cue", kOneTrackSheet);
    EXPECT_EQ(openResult((dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

TEST(DataFile, EmptyDataFileIsNoDevice)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, 0, 2000));
    writeFile(dir / "disc.cue", kOneTrackSheet);
    EXPECT_EQ(openResult((dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

TEST(DataFile, ImageOfOneFilePerTrackReadsTheSameBytesAsOneFile)
{
    TempDir dir;
    // One file: track 1 is sectors 0-39, track 2 has an INDEX 00 pregap at 40-49 and runs to 89.
    std::string whole;
    for (uint32_t i = 0; i < 90; ++i) {
        const Sector sector = patternSector(1, i);
        whole.append(reinterpret_cast<const char*>(sector.data()), sector.size());
    }
    writeFile(dir / "disc.bin", whole);
    writeFile(dir / "one.cue", "FILE \"disc.bin\" BINARY\n"
                               "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                               "  TRACK 02 AUDIO\n    INDEX 00 00:00:40\n    INDEX 01 00:00:50\n");
    writeFile(dir / "t1.bin", whole.substr(0, 40 * CUEIFY_RAW_SECTOR_SIZE));
    writeFile(dir / "t2.bin", whole.substr(40 * CUEIFY_RAW_SECTOR_SIZE));
    writeFile(dir / "split.cue", "FILE \"t1.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                 "FILE \"t2.bin\" BINARY\n  TRACK 02 AUDIO\n"
                                 "    INDEX 00 00:00:00\n    INDEX 01 00:00:10\n");
    const DeviceOwner one = openDevice((dir / "one.cue").string());
    const DeviceOwner split = openDevice((dir / "split.cue").string());
    ASSERT_NE(one, nullptr);
    ASSERT_NE(split, nullptr);
    for (uint32_t lba = 0; lba < 90; ++lba)
        ASSERT_EQ(readSector(split.get(), lba), readSector(one.get(), lba)) << "sector " << lba;
    EXPECT_EQ(readSector(split.get(), 89), patternSector(1, 89));
    const TocOwner oneToc = readToc(one.get()), splitToc = readToc(split.get());
    for (uint8_t track : {1, 2}) {
        EXPECT_EQ(text(cueify_full_toc_get_track_address(splitToc.get(), track)),
                  text(cueify_full_toc_get_track_address(oneToc.get(), track)));
        EXPECT_EQ(text(cueify_full_toc_get_track_length(splitToc.get(), track)),
                  text(cueify_full_toc_get_track_length(oneToc.get(), track)));
    }
    EXPECT_EQ(text(cueify_full_toc_get_track_address(splitToc.get(), 2)), "00:02:50");
}

} // namespace
} // namespace cueify::test
