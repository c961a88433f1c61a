// Raw sector reads of an image: which bytes, and which addresses fail how.
#include "ImageFiles.h"

#include <gtest/gtest.h>

namespace cueify::test {
namespace {

// Session 1: tracks 1 and 2 in audio.bin (LBA 0-299), lead-out at 300.
// Session 2: track 3 in data.bin with a stored 10-sector pregap, from LBA 11700; lead-out at 11800.
class ImageDevice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(m_dir / "audio.bin", patternBytes(1, 300));
        writeFile(m_dir / "data.bin", patternBytes(2, 100));
        writeFile(m_dir / "disc.cue", "REM SESSION 01\n"
                                      "FILE \"audio.bin\" BINARY\n"
                                      "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                      "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n"
                                      "REM SESSION 02\n"
                                      "FILE \"data.bin\" BINARY\n"
                                      "  TRACK 03 MODE1/2352\n    INDEX 00 00:00:00\n    INDEX 01 00:00:10\n");
        m_device = openDevice((m_dir / "disc.cue").string());
        ASSERT_NE(m_device, nullptr);
    }

    int read(uint32_t lba)
    {
        Sector sector;
        return cueify_device_read_raw(m_device.get(), lba, sector.data());
    }

    TempDir m_dir;
    DeviceOwner m_device;
};

TEST_F(ImageDevice, EverySectorOfBothSessionsComesFromItsFile)
{
    for (uint32_t lba = 0; lba < 300; ++lba)
        ASSERT_EQ(readSector(m_device.get(), lba), patternSector(1, lba)) << "sector " << lba;
    for (uint32_t i = 0; i < 100; ++i)
        ASSERT_EQ(readSector(m_device.get(), 11700 + i), patternSector(2, i)) << "sector " << 11700 + i;
}

TEST_F(ImageDevice, ReadsBetweenSessionsFail)
{
    EXPECT_EQ(read(299), CUEIFY_OK);
    EXPECT_EQ(read(300), CUEIFY_ERR_INTERNAL); // lead-out of session 1
    EXPECT_EQ(read(6000), CUEIFY_ERR_INTERNAL);
    EXPECT_EQ(read(11699), CUEIFY_ERR_INTERNAL);
    EXPECT_EQ(read(11700), CUEIFY_OK);
}

TEST_F(ImageDevice, ReadsFromTheLastLeadOutOnAreOutsideTheDisc)
{
    EXPECT_EQ(read(11799), CUEIFY_OK);
    EXPECT_EQ(read(11800), CUEIFY_ERR_BADARG);
    EXPECT_EQ(read(0xFFFFFFFFu), CUEIFY_ERR_BADARG);
}

TEST_F(ImageDevice, DataFileRemovedAfterOpenStillReads)
{
    fs::remove(m_dir / "audio.bin"); // the open descriptor keeps the bytes
    EXPECT_EQ(readSector(m_device.get(), 10), patternSector(1, 10));
}

TEST_F(ImageDevice, TwoHandlesOnOneImageReadIndependently)
{
    const DeviceOwner second = openDevice((m_dir / "disc.cue").string());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(readSector(second.get(), 11750), patternSector(2, 50));
    m_device.reset();
    EXPECT_EQ(readSector(second.get(), 5), patternSector(1, 5));
}

} // namespace
} // namespace cueify::test
