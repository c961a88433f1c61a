// Read-offset correction on a simulated drive that delivers the synthetic disc (sample n is the
// word 2654435761 n + 12345) shifted by its offset: corrected audio equals the disc's, with
// silence where the drive cannot read.
#include "OffsetCorrection.h"

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace vantorcd {
namespace {

using discgeometry::kSamplesPerSector;
constexpr uint32_t kDiscSectors = 1460;
constexpr int64_t kDiscSamples = kDiscSectors * kSamplesPerSector;

// A sector of the synthetic disc's samples from sample `first` on, silent outside [from, to).
SectorBytes samples(int64_t first, int64_t from, int64_t to)
{
    SectorBytes sector{};
    for (int64_t i = 0; i < kSamplesPerSector; ++i) {
        const int64_t n = first + i;
        const auto word =
            n < from || n >= to ? 0 : static_cast<uint32_t>(2654435761u * static_cast<uint32_t>(n) + 12345u);
        for (int byte = 0; byte < 4; ++byte)
            sector[i * 4 + byte] = static_cast<uint8_t>(word >> (8 * byte));
    }
    return sector;
}

// Positive and negative offsets, also past a whole sector, and reads out of order: the disc's
// samples, with silence where the drive would have to read before the disc's first sector or past
// its last, which it is never asked for; read in order, each sector the drive delivers is read once.
TEST(OffsetCorrection, CorrectedSectorsHoldTheDiscsSamplesAndSilenceWhereTheDriveCannotRead)
{
    for (const int32_t offset : {6, -30, -600, -1176}) {
        SCOPED_TRACE(offset);
        uint32_t reads = 0;
        OffsetCorrection corrected(
            [offset, &reads](uint32_t lba, SectorBytes& sector) {
                EXPECT_LT(lba, kDiscSectors);
                ++reads;
                sector = samples(int64_t{lba} * kSamplesPerSector - offset, 0, kDiscSamples);
            },
            offset, kDiscSectors);
        std::vector<uint32_t> order(kDiscSectors);
        std::iota(order.begin(), order.end(), 0);
        for (const uint32_t lba : offset < 0 ? std::vector<uint32_t>{5u, 0u, 1u, 700u, 1459u} : order) {
            SectorBytes sector{};
            corrected.read(lba, sector);
            ASSERT_TRUE(sector == samples(int64_t{lba} * kSamplesPerSector, -offset, kDiscSamples - offset))
                << "LBA " << lba;
        }
        if (offset > 0)
            EXPECT_EQ(reads, kDiscSectors);
    }
}

} // namespace
} // namespace vantorcd
