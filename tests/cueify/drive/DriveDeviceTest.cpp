// A drive seen through libcdio's BIN/CUE driver: the same calls as on a drive, minus MMC,
// which the image driver refuses as a drive refuses a command it does not know.
#include "drive/DriveDevice.h"

#include "drive/TrackTable.h"

#include <cueify/cueify.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>

namespace {

namespace fs = std::filesystem;
using cueify::Lba;

constexpr uint32_t kTrack2Lba = 300;
constexpr uint32_t kSectors = 500;
using Sector = std::array<uint8_t, CUEIFY_RAW_SECTOR_SIZE>;

Sector patternOf(uint32_t lba)
{
    Sector sector;
    for (size_t i = 0; i < sector.size(); ++i)
        sector[i] = static_cast<uint8_t>(lba * 7 + i);
    return sector;
}

// A BIN/CUE pair: track 1 at 00:00:00 of the file, track 2 (copy permitted) 300 sectors on.
class ImageDisc
{
public:
    explicit ImageDisc(const char* firstTrackMode)
    {
        std::string pattern = (fs::temp_directory_path() / "cueify-drive-image-XXXXXX").string();
        m_directory = ::mkdtemp(pattern.data());
        std::ofstream bin(m_directory / "disc.bin", std::ios::binary);
        for (uint32_t lba = 0; lba < kSectors; ++lba)
            bin.write(reinterpret_cast<const char*>(patternOf(lba).data()), CUEIFY_RAW_SECTOR_SIZE);
        std::ofstream(m_directory / "disc.cue") << "FILE \"disc.bin\" BINARY\n"
                                                << "  TRACK 01 " << firstTrackMode << "\n    INDEX 01 00:00:00\n"
                                                << "  TRACK 02 AUDIO\n    FLAGS DCP\n    INDEX 01 00:04:00\n";
    }
    ~ImageDisc() { fs::remove_all(m_directory); }

    cueify::CdioHandle open() const
    {
        return cueify::CdioHandle(cdio_open((m_directory / "disc.cue").c_str(), DRIVER_BINCUE));
    }

private:
    fs::path m_directory;
};

cueify::DriveDevice driveOver(const ImageDisc& disc)
{
    cueify::CdioHandle cdio = disc.open();
    EXPECT_NE(cdio, nullptr);
    std::optional<cueify::FullTocData> table = cueify::readTrackTable(cdio.get());
    EXPECT_TRUE(table.has_value());
    return cueify::DriveDevice(std::move(cdio), table.value_or(cueify::FullTocData{}));
}

TEST(DriveDevice, RefusedFullTocFallsBackToTheTrackTableAsOneSession)
{
    ImageDisc disc("AUDIO");
    cueify::DriveDevice drive = driveOver(disc);
    cueify::FullTocData toc;
    ASSERT_EQ(drive.readFullToc(toc), CUEIFY_OK);
    EXPECT_EQ(toc.firstSession, 1);
    EXPECT_EQ(toc.lastSession, 1);
    ASSERT_EQ(toc.sessions.size(), 1u);
    EXPECT_EQ(toc.sessions[0].firstTrack, 1);
    EXPECT_EQ(toc.sessions[0].lastTrack, 2);
    EXPECT_EQ(toc.sessions[0].leadOut.value, 150 + kSectors);
    ASSERT_EQ(toc.tracks.size(), 2u);
    EXPECT_EQ(toc.tracks[0].start.value, 150u);
    EXPECT_EQ(toc.tracks[1].start.value, 150 + kTrack2Lba);
    EXPECT_EQ(toc.tracks[0].control, 0);
    EXPECT_EQ(toc.tracks[1].control, CUEIFY_TOC_TRACK_PERMITS_COPYING);
}

TEST(DriveDevice, AudioSectorsReadWholeAcrossTheDisc)
{
    ImageDisc disc("AUDIO");
    cueify::DriveDevice drive = driveOver(disc);
    for (uint32_t lba : {0u, kTrack2Lba - 1, kTrack2Lba, kSectors - 1}) {
        Sector sector{};
        ASSERT_EQ(drive.readRawSector(Lba{lba}, sector.data()), CUEIFY_OK) << lba;
        EXPECT_EQ(sector, patternOf(lba)) << lba;
    }
}

TEST(DriveDevice, AddressesOutsideTheDiscAreBadArguments)
{
    ImageDisc disc("AUDIO");
    cueify::DriveDevice drive = driveOver(disc);
    Sector sector{};
    for (uint32_t lba : {kSectors, kSectors + 1000, std::numeric_limits<uint32_t>::max()})
        EXPECT_EQ(drive.readRawSector(Lba{lba}, sector.data()), CUEIFY_ERR_BADARG) << lba;
    EXPECT_EQ(drive.readRawSector(Lba{0}, nullptr), CUEIFY_ERR_BADARG);
}

TEST(DriveDevice, FailedDataSectorReadLeavesTheBufferUntouched)
{
    ImageDisc disc("MODE1/2352");
    cueify::DriveDevice drive = driveOver(disc);
    Sector sector;
    sector.fill(0xEE);
    EXPECT_EQ(drive.readRawSector(Lba{10}, sector.data()), CUEIFY_ERR_INTERNAL);
    Sector untouched;
    untouched.fill(0xEE);
    EXPECT_EQ(sector, untouched);
    EXPECT_EQ(drive.readRawSector(Lba{kTrack2Lba}, sector.data()), CUEIFY_OK);
}

} // namespace
