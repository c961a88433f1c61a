// A drive's audio with its read offset corrected: a drive with offset +c delivers at sample
// position x what the disc holds at x - c, so the corrected sector s is made of the delivered
// samples 588 s + c to 588 s + c + 587, which span two delivered sectors.
#pragma once

#include <array>
#include <cstdint>
#include <discgeometry/DiscGeometry.h>
#include <functional>
#include <optional>

namespace vantorcd {

using discgeometry::kRawSectorBytes;
using SectorBytes = std::array<uint8_t, kRawSectorBytes>;

class OffsetCorrection
{
public:
    // Reads one delivered sector at a logical block address; throws on a read error.
    using ReadSector = std::function<void(uint32_t lba, SectorBytes& sector)>;

    // The audio the drive can deliver lies in [0, audioEnd): delivered samples outside it read
    // as silence, as on a drive that cannot read into the lead-in or the lead-out.
    OffsetCorrection(ReadSector read, int32_t offsetSamples, uint32_t audioEnd);

    // The corrected sector at lba; reads of consecutive sectors read each delivered sector once.
    void read(uint32_t lba, SectorBytes& sector);

private:
    const SectorBytes& delivered(int64_t lba);

    ReadSector m_read;
    int64_t m_shiftSectors; // whole sectors of the offset, rounded down
    uint32_t m_shiftBytes;  // the rest, 0 to 2348
    uint32_t m_audioEnd;
    std::array<std::optional<int64_t>, 2> m_cachedLba;
    std::array<SectorBytes, 2> m_cache{};
};

} // namespace vantorcd
