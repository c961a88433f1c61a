#include "ImageFiles.h"

#include <gtest/gtest.h>

namespace cueify::test {
namespace {

const char* kSheet = "FILE \"disc.bin\" BINARY\n"
                     "  TRACK 01 AUDIO\n"
                     "    INDEX 01 00:00:00\n";

class ImagePath : public ::testing::Test
{
protected:
    void SetUp() override { writeFile(m_dir / "disc.bin", patternBytes(1, 4)); }

    TempDir m_dir;
};

TEST_F(ImagePath, CueSheetOpensByItsPath)
{
    writeFile(m_dir / "disc.cue", kSheet);
    const DeviceOwner device = openDevice((m_dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(readSector(device.get(), 3), patternSector(1, 3));
}

TEST_F(ImagePath, ExtensionInCapitalsIsACueSheetToo)
{
    writeFile(m_dir / "DISC.CUE", kSheet);
    EXPECT_EQ(openResult((m_dir / "DISC.CUE").string()), CUEIFY_OK);
}

TEST_F(ImagePath, DirectoryHoldingOneCueSheetOpensAsThatImage)
{
    writeFile(m_dir / "disc.cue", kSheet);
    writeFile(m_dir / "Track01.cda", std::string(44, 'x'));
    const DeviceOwner device = openDevice(m_dir.path().string());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(readSector(device.get(), 0), patternSector(1, 0));
}

TEST_F(ImagePath, DirectoryHoldingTwoCueSheetsIsNoDrive)
{
    writeFile(m_dir / "disc.cue", kSheet);
    writeFile(m_dir / "copy.cue", kSheet);
    EXPECT_EQ(openResult(m_dir.path().string()), CUEIFY_ERR_NO_DEVICE);
}

TEST_F(ImagePath, DirectoryWithoutCueSheetIsNoDrive)
{
    fs::create_directory(m_dir / "disc.cue"); // a directory, not a sheet
    EXPECT_EQ(openResult(m_dir.path().string()), CUEIFY_ERR_NO_DEVICE);
}

TEST_F(ImagePath, FileThatIsNoCueSheetIsNoImage)
{
    writeFile(m_dir / "disc.txt", kSheet); // a sheet's text under another name
    EXPECT_EQ(openResult((m_dir / "disc.txt").string()), CUEIFY_ERR_NO_DEVICE);
    EXPECT_EQ(openResult((m_dir / "disc.bin").string()), CUEIFY_ERR_NO_DEVICE);
}

} // namespace
} // namespace cueify::test
