#include "OffsetCorrection.h"

#include <discgeometry/DiscGeometry.h>

#include <cstring>
#include <utility>

namespace vantorcd {
namespace {

constexpr int64_t kSamplesPerSector = discgeometry::kSamplesPerSector; // signed: offsets go both ways
constexpr uint32_t kBytesPerSample = 4;

int64_t floorDivide(int64_t value, int64_t divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

OffsetCorrection::OffsetCorrection(ReadSector read, int32_t offsetSamples, uint32_t audioEnd)
    : m_read(std::move(read)), m_shiftSectors(floorDivide(offsetSamples, kSamplesPerSector)),
      m_shiftBytes(
          static_cast<uint32_t>((offsetSamples - m_shiftSectors * kSamplesPerSector) * kBytesPerSample)),
      m_audioEnd(audioEnd)
{
}

const SectorBytes& OffsetCorrection::delivered(int64_t lba)
{
    for (size_t slot = 0; slot < m_cache.size(); ++slot) {
        if (m_cachedLba[slot] == lba)
            return m_cache[slot];
    }
    // The older of the two slots gives way: sequential reads need only the last sector again.
    std::swap(m_cache[0], m_cache[1]);
    std::swap(m_cachedLba[0], m_cachedLba[1]);
    m_cachedLba[1].reset();
    if (lba < 0 || lba >= m_audioEnd)
        m_cache[1].fill(0);
    else
        m_read(static_cast<uint32_t>(lba), m_cache[1]);
    m_cachedLba[1] = lba;
    return m_cache[1];
}

void OffsetCorrection::read(uint32_t lba, SectorBytes& sector)
{
    const int64_t first = int64_t{lba} + m_shiftSectors;
    const SectorBytes& head = delivered(first);
    std::memcpy(sector.data(), head.data() + m_shiftBytes, kRawSectorBytes - m_shiftBytes);
    if (m_shiftBytes == 0)
        return;
    const SectorBytes& tail = delivered(first + 1);
    std::memcpy(sector.data() + kRawSectorBytes - m_shiftBytes, tail.data(), m_shiftBytes);
}

} // namespace vantorcd
