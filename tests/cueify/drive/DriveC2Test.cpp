// C2 error pointers from emulated drives, whose unstable sectors come back changed on every
// second read: the pointers mark exactly the changed bytes, where the drive offers them at all.
#include "CueifyTesting.h"
#include "EmulatedDrives.h"

#include "core/ApiGuard.h"
#include "device/Device.h"

#include <mkdisc/DiscWriter.h>

namespace cueify::test {
namespace {

using Pointers = std::array<uint8_t, kC2PointerBytes>;

constexpr const char* kTracks = "audio:100 mode1:50";
constexpr const char* kDrives = "/dev/sr1 unstable=30 unstable=120 audio:100 mode1:50;"
                                "/dev/sr2 no-c2 unstable=30 audio:100 mode1:50";

// The emulated drives change bytes 1000 to 1003 of an unstable sector.
Pointers pointersToTheChangedBytes()
{
    Pointers pointers{};
    pointers[1000 / 8] = 0xF0;
    return pointers;
}

std::unique_ptr<Device> drive(const char* path)
{
    return openDrive(path);
}

TEST(DriveC2, PointersMarkTheBytesAnUnstableReadChangedInAudioAndDataSectors)
{
    const mkdisc::DiscSpec disc = testsupport::discOfTrackWords(kTracks);
    const std::unique_ptr<Device> device = drive("/dev/sr1");
    ASSERT_TRUE(device && device->offersC2Pointers());
    for (uint32_t lba : {30u, 120u}) {
        SCOPED_TRACE(lba);
        const mkdisc::Sector written = mkdisc::sectorAt(disc, lba);
        Sector sector{};
        Pointers pointers{};
        for (int read = 0; read < 3; ++read) {
            device->readRawSectorWithC2(Lba{lba}, sector.data(), pointers.data());
            const bool changed = read == 1;
            EXPECT_EQ(pointers, changed ? pointersToTheChangedBytes() : Pointers{}) << read;
            Sector expected = written;
            for (size_t byte = 1000; changed && byte < 1004; ++byte)
                expected[byte] ^= 0xFF;
            EXPECT_EQ(sector, expected) << read;
        }
    }
    Sector sector{};
    EXPECT_EQ(guardedCall([&] { device->readRawSectorWithC2(Lba{30}, sector.data(), nullptr); }),
              CUEIFY_ERR_BADARG);
    Pointers pointers{};
    EXPECT_EQ(guardedCall([&] { device->readRawSectorWithC2(Lba{150}, sector.data(), pointers.data()); }),
              CUEIFY_ERR_BADARG);
}

TEST(DriveC2, ADriveWithoutPointersReadsTheSectorAndReportsNoErrors)
{
    const std::unique_ptr<Device> device = drive("/dev/sr2");
    ASSERT_TRUE(device);
    EXPECT_FALSE(device->offersC2Pointers());
    const mkdisc::Sector written = mkdisc::sectorAt(testsupport::discOfTrackWords(kTracks), 30);
    Sector sector{};
    Pointers pointers;
    pointers.fill(0xEE);
    device->readRawSectorWithC2(Lba{30}, sector.data(), pointers.data());
    EXPECT_EQ(sector, written);
    EXPECT_EQ(pointers, Pointers{});
}

} // namespace
} // namespace cueify::test

int main(int argc, char** argv)
{
    testsupport::runWithEmulatedDrives(argv, cueify::test::kDrives);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
