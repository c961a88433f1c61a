#include "AccurateRipCrc.h"

#include <discgeometry/DiscGeometry.h>
#include <zlib.h>

#include <algorithm>

namespace vantorcd {
namespace {

using discgeometry::kSamplesPerSector;
constexpr uint64_t kSkippedAtDiscStart = 5 * kSamplesPerSector - 1;
constexpr uint64_t kSkippedAtDiscEnd = 5 * kSamplesPerSector;
constexpr uint64_t kFrame450Start = 450 * kSamplesPerSector; // the sample before sector 450's first
using discgeometry::kBytesPerSample;

uint32_t wordAt(const uint8_t* sample)
{
    return uint32_t{sample[0]} | uint32_t{sample[1]} << 8 | uint32_t{sample[2]} << 16 |
           uint32_t{sample[3]} << 24;
}

} // namespace

AccurateRipCrc::AccurateRipCrc(uint64_t trackSamples, bool firstAudioTrack, bool lastAudioTrack) noexcept
    : m_firstKept(firstAudioTrack ? kSkippedAtDiscStart + 1 : 1),
      m_lastKept(lastAudioTrack ? (trackSamples > kSkippedAtDiscEnd ? trackSamples - kSkippedAtDiscEnd : 0)
                                : trackSamples)
{
}

void AccurateRipCrc::add(const uint8_t* pcm, size_t bytes) noexcept
{
    // zlib's CRC-32 takes several bytes a step where FFmpeg's takes one; it is the same CRC.
    m_crc32 = static_cast<uint32_t>(::crc32(m_crc32, pcm, static_cast<uInt>(bytes)));
    const uint64_t first = m_position + 1; // the position of pcm's first sample
    const uint64_t count = bytes / kBytesPerSample;
    m_position += count;
    // The kept and the frame-450 positions as ranges over pcm, so that the loops do not branch.
    addKept(pcm, first, std::max(first, m_firstKept), std::min(m_position, m_lastKept));
    addFrame450(pcm, first, std::max(first, kFrame450Start + 1),
                std::min(m_position, kFrame450Start + kSamplesPerSector));
}

void AccurateRipCrc::addKept(const uint8_t* pcm, uint64_t first, uint64_t from, uint64_t to) noexcept
{
    uint32_t v1 = 0, high = 0;
    for (uint64_t p = from; p <= to; ++p) {
        const uint64_t product = p * wordAt(pcm + (p - first) * kBytesPerSample);
        v1 += static_cast<uint32_t>(product);
        high += static_cast<uint32_t>(product >> 32);
    }
    m_v1 += v1;
    m_v2High += high;
}

void AccurateRipCrc::addFrame450(const uint8_t* pcm, uint64_t first, uint64_t from, uint64_t to) noexcept
{
    for (uint64_t p = from; p <= to; ++p)
        m_frame450 +=
            static_cast<uint32_t>((p - kFrame450Start) * wordAt(pcm + (p - first) * kBytesPerSample));
}

} // namespace vantorcd
