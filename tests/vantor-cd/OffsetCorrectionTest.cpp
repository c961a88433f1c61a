// Read-offset correction on a simulated drive that delivers the synthetic disc (sample n is the
// word 2654435761 n + 12345) shifted by its offset: corrected audio equals the disc's, with
// silence where the drive cannot read, and the AccurateRip CRCs come out as published.
#include "OffsetCorrection.h"
#include "AccurateRipCrc.h"

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace vantorcd {
namespace {

using discgeometry::kSamplesPerSector;
constexpr uint32_t kDiscSectors = 1460;
constexpr int64_t kDiscSamples = kDiscSectors * kSamplesPerSector;

uint32_t discSample(int64_t n)
{
    return n < 0 || n >= kDiscSamples
               ? 0
               : static_cast<uint32_t>(2654435761u * static_cast<uint32_t>(n) + 12345u);
}

void putSample(uint8_t* at, uint32_t word)
{
    for (int byte = 0; byte < 4; ++byte)
        at[byte] = static_cast<uint8_t>(word >> (8 * byte));
}

// A drive with read offset `offset` that cannot read outside the disc's audio.
struct ShiftedDrive
{
    int32_t offset;
    int reads = 0;

    void operator()(uint32_t lba, SectorBytes& sector)
    {
        ++reads;
        for (int64_t i = 0; i < kSamplesPerSector; ++i)
            putSample(&sector[i * 4], discSample(lba * kSamplesPerSector + i - offset));
    }
};

std::string hex(uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

struct Track
{
    uint32_t first, sectors;
};
constexpr Track kTracks[] = {{0, 500}, {500, 500}, {1000, 460}};

std::string trackChecksums(const std::function<void(uint32_t, SectorBytes&)>& read, size_t t)
{
    const Track track = kTracks[t];
    AccurateRipCrc crc(uint64_t{track.sectors} * kSamplesPerSector, t == 0, t == 2);
    SectorBytes sector{};
    for (uint32_t lba = track.first; lba < track.first + track.sectors; ++lba) {
        read(lba, sector);
        crc.add(sector.data(), sector.size());
    }
    return hex(crc.v1()) + " " + hex(crc.v2()) + " " + hex(crc.frame450()) + " " + hex(crc.crc32());
}

TEST(OffsetCorrection, PlusSixDriveCorrectedGivesTheDiscsCrcsWithItsLastSamplesSilent)
{
    ShiftedDrive drive{6};
    OffsetCorrection corrected(std::ref(drive), 6, kDiscSectors);
    const auto read = [&](uint32_t lba, SectorBytes& sector) { corrected.read(lba, sector); };
    EXPECT_EQ(trackChecksums(read, 0), "534b8756 5b278a13 030a798a 01262055");
    EXPECT_EQ(trackChecksums(read, 1), "d282c9a8 da7fc1cd df8d67aa 6e7e6a97");
    EXPECT_EQ(trackChecksums(read, 2), "ee994126 192f34cc bc1055ca a1ceba6b");
    EXPECT_EQ(drive.reads, static_cast<int>(kDiscSectors)); // each delivered sector read once
}

TEST(OffsetCorrection, PlusSixDriveUncorrectedGivesItsOwnCrcs)
{
    ShiftedDrive drive{6};
    const auto read = [&](uint32_t lba, SectorBytes& sector) { drive(lba, sector); };
    EXPECT_EQ(trackChecksums(read, 0), "41348f02 4910b530 2bf86536 e19afedd");
    EXPECT_EQ(trackChecksums(read, 1), "1b73ba58 23710437 087b5356 29260fe4");
    EXPECT_EQ(trackChecksums(read, 2), "3ace66fa 656527db e4fe4176 a701de53");
}

// Negative offsets, also past a whole sector, and reads out of order: silence before the disc.
TEST(OffsetCorrection, NegativeOffsetsGiveTheDiscsSamplesAndSilenceBeforeItsStart)
{
    for (const int32_t offset : {-30, -600, -1176}) {
        SCOPED_TRACE(offset);
        ShiftedDrive drive{offset};
        OffsetCorrection corrected(std::ref(drive), offset, kDiscSectors);
        for (const uint32_t lba : {5u, 0u, 1u, 700u, 1459u}) {
            SectorBytes sector{};
            corrected.read(lba, sector);
            for (int64_t i = 0; i < kSamplesPerSector; ++i) {
                const int64_t n = lba * kSamplesPerSector + i;
                SectorBytes expected{};
                putSample(expected.data(), n + offset < 0 ? 0 : discSample(n));
                ASSERT_EQ(std::memcmp(&sector[i * 4], expected.data(), 4), 0)
                    << "LBA " << lba << " sample " << i;
            }
        }
    }
}

} // namespace
} // namespace vantorcd
