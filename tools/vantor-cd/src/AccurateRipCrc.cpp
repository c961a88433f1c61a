#include "AccurateRipCrc.h"

extern "C" {
#include <libavutil/crc.h>
}

namespace vantorcd {
namespace {

constexpr uint64_t kSamplesPerSector = 588;
constexpr uint64_t kSkippedAtDiscStart = 5 * kSamplesPerSector - 1;
constexpr uint64_t kSkippedAtDiscEnd = 5 * kSamplesPerSector;
constexpr uint64_t kFrame450Start = 450 * kSamplesPerSector; // the sample before sector 450's first
constexpr size_t kBytesPerSample = 4;

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
    static const AVCRC* const table = av_crc_get_table(AV_CRC_32_IEEE_LE);
    m_crc32 = av_crc(table, m_crc32, pcm, bytes);
    for (size_t offset = 0; offset + kBytesPerSample <= bytes; offset += kBytesPerSample) {
        const uint64_t p = ++m_position;
        const uint64_t word = wordAt(pcm + offset);
        if (p >= m_firstKept && p <= m_lastKept) {
            const uint64_t product = p * word;
            m_v1 += static_cast<uint32_t>(product);
            m_v2High += static_cast<uint32_t>(product >> 32);
        }
        if (p > kFrame450Start && p <= kFrame450Start + kSamplesPerSector)
            m_frame450 += static_cast<uint32_t>((p - kFrame450Start) * word);
    }
}

} // namespace vantorcd
