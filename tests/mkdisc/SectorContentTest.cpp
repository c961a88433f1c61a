#include "mkdisc/DiscWriter.h"

#include "TestDiscs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <stdexcept>

namespace mkdisc {
namespace {

using test::audio;
using test::data;
using test::disc;

int16_t sampleAt(const Sector& sector, size_t frame, size_t channel)
{
    const size_t offset = frame * 4 + channel * 2;
    return static_cast<int16_t>(sector[offset] | sector[offset + 1] << 8);
}

int16_t leftSample(const Sector& sector, size_t frame)
{
    return sampleAt(sector, frame, 0);
}

int peakOf(const Sector& sector)
{
    int peak = 0;
    for (size_t frame = 0; frame < kRawSectorSize / 4; ++frame)
        peak = std::max(peak, std::abs(leftSample(sector, frame)));
    return peak;
}

TEST(SectorContent, DataSectorHasSyncAddressModeAndByteSixteen)
{
    const DiscSpec spec =
        disc({{{audio(10), data(TrackMode::Mode1Raw, 20, 0)}}, {{data(TrackMode::Mode2Raw, 5, 2)}}});
    const std::array<uint8_t, 12> sync = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    struct Case
    {
        uint32_t lba;
        std::array<uint8_t, 5> header; // BCD minutes, seconds, frames, mode, byte 16
    };
    // LBA 10 is 00:02:10; LBA 30 + 11400 is 02:34:30.
    for (const Case& c : {Case{10, {0x00, 0x02, 0x10, 1, 0}}, Case{11430, {0x02, 0x34, 0x30, 2, 2}}}) {
        const Sector sector = sectorAt(spec, c.lba);
        EXPECT_TRUE(std::equal(sync.begin(), sync.end(), sector.begin())) << c.lba;
        EXPECT_TRUE(std::equal(c.header.begin(), c.header.end(), sector.begin() + 12)) << c.lba;
    }
}

TEST(SectorContent, NoTwoStoredSectorsOfADiscAreEqual)
{
    // Longer than a second, so a tone that repeats every 75 sectors would show.
    const DiscSpec spec = disc({{{audio(160, 20), audio(160, 20), data(TrackMode::Mode1Raw, 80)}}});
    std::set<Sector> seen;
    const uint32_t leadOut = layoutOf(spec).sessionLeadOutLba[0];
    for (uint32_t lba = 0; lba < leadOut; ++lba)
        EXPECT_TRUE(seen.insert(sectorAt(spec, lba)).second) << "LBA " << lba;
}

TEST(SectorContent, ToneRisesWithTheTrackNumberAndRunsOnAcrossSectors)
{
    const DiscSpec spec = disc({{{audio(75), audio(75)}}});
    for (uint32_t track = 1; track <= 2; ++track) {
        int crossings = 0;
        int rightDiffers = 0;
        int16_t previous = 0;
        for (uint32_t lba = (track - 1) * 75; lba < track * 75; ++lba) {
            const Sector sector = sectorAt(spec, lba);
            // Sector edges included: a tone restarted in every sector would jump here.
            EXPECT_LT(std::abs(leftSample(sector, 0) - previous), 1000) << "LBA " << lba;
            for (size_t frame = 0; frame < kRawSectorSize / 4; ++frame) {
                const int16_t sample = leftSample(sector, frame);
                crossings += (sample >= 0) != (previous >= 0);
                previous = sample;
                rightDiffers += sampleAt(sector, frame, 1) != sample;
            }
        }
        // One second of 300 Hz, then of 400 Hz: two sign changes a cycle.
        EXPECT_NEAR(crossings, 400 + 200 * static_cast<int>(track), 3) << "track " << track;
        EXPECT_GT(rightDiffers, 75 * 500) << "the right channel plays another pitch";
    }
}

TEST(SectorContent, StoredPregapIsAQuieterToneAndGeneratedPregapIsSilence)
{
    // LBA 0-9 track 1, 10-14 PREGAP, 15-19 stored pregap, 20-29 track 2.
    const DiscSpec spec = disc({{{audio(10), audio(10, 5, 5)}}});
    EXPECT_EQ(sectorAt(spec, 10), Sector{});
    EXPECT_EQ(sectorAt(spec, 14), Sector{});
    const int pregapPeak = peakOf(sectorAt(spec, 15));
    EXPECT_GT(pregapPeak, 500);
    EXPECT_LT(pregapPeak * 5, peakOf(sectorAt(spec, 20)));
}

TEST(SectorContent, AddressOutsideTheTracksIsOutOfRange)
{
    const DiscSpec spec = disc({{{audio(100)}}, {{audio(10)}}});
    // 100 is session 1's lead-out; session 2 starts at 11500 and ends at 11510.
    for (uint32_t lba : {100u, 11499u, 11510u, 0xFFFFFFFFu})
        EXPECT_THROW(sectorAt(spec, lba), std::out_of_range) << lba;
    EXPECT_NO_THROW(sectorAt(spec, 11500));
}

} // namespace
} // namespace mkdisc
