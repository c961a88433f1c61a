// Read-offset correction on a simulated drive that delivers the synthetic disc (sample n is the
// word 2654435761 n + 12345) shifted by its offset: corrected audio equals the disc's, with
// silence where the drive cannot read.
#include "OffsetCorrection.h"

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

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

// Positive and negative offsets, also past a whole sector, and reads out of order: the disc's
// samples, with silence where the drive would have to read before the disc's first sector or past
// its last; read in order, each sector the drive delivers is read once.
TEST(OffsetCorrection, CorrectedSectorsHoldTheDiscsSamplesAndSilenceWhereTheDriveCannotRead)
{
    for (const int32_t offset : {6, -30, -600, -1176}) {
        SCOPED_TRACE(offset);
        ShiftedDrive drive{offset};
        OffsetCorrection corrected(std::ref(drive), offset, kDiscSectors);
        std::vector<uint32_t> order(kDiscSectors);
        std::iota(order.begin(), order.end(), 0);
        for (const uint32_t lba : offset < 0 ? std::vector<uint32_t>{5u, 0u, 1u, 700u, 1459u} : order) {
            SectorBytes sector{};
            corrected.read(lba, sector);
            for (int64_t i = 0; i < kSamplesPerSector; ++i) {
                const int64_t n = lba * kSamplesPerSector + i;
                const bool reachable = n + offset >= 0 && n + offset < kDiscSamples;
                SectorBytes expected{};
                putSample(expected.data(), reachable ? discSample(n) : 0);
                ASSERT_EQ(std::memcmp(&sector[i * 4], expected.data(), 4), 0)
                    << "LBA " << lba << " sample " << i;
            }
        }
        if (offset > 0)
            EXPECT_EQ(drive.reads, static_cast<int>(kDiscSectors));
    }
}

} // namespace
} // namespace vantorcd
