#include "AccurateRipCrc.h"

#include <isa-l/crc.h>

#include <algorithm>
#include <cstring>

namespace vantorcd {
namespace {

constexpr uint64_t kSamplesPerSector = 588;
constexpr uint64_t kSkippedAtDiscStart = 5 * kSamplesPerSector - 1;
constexpr uint64_t kSkippedAtDiscEnd = 5 * kSamplesPerSector;
constexpr uint64_t kFrame450Start = 450 * kSamplesPerSector; // the sample before sector 450's first
constexpr size_t kBytesPerSample = 4;

// Samples are loaded as whole little-endian words, one or two at a time: assembled byte by byte,
// the compiler shuffles bytes in its vector loops and takes several times as long.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "CD audio words are loaded as they lie in memory");

uint32_t loadWord(const uint8_t* sample) noexcept
{
    uint32_t word;
    std::memcpy(&word, sample, sizeof word);
    return word;
}

#if defined(__x86_64__)
#define WIDEST_VECTORS __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define WIDEST_VECTORS
#endif

struct ProductSums
{
    uint64_t all = 0; // of the products, modulo 2^64
    uint64_t low = 0; // of their low halves, modulo 2^64

    // The sum of the products' low halves, modulo 2^32.
    uint32_t lowHalves() const noexcept { return static_cast<uint32_t>(low); }
    // The sum of their high halves, modulo 2^32: what the low halves leave of the products' sum,
    // which is a multiple of 2^32.
    uint32_t highHalves() const noexcept { return static_cast<uint32_t>((all - low) >> 32); }
};

// The products of count samples with the positions start, start + 1, ...: 32 by 32 bits into 64,
// which vector units multiply several at a time, wider ones where the processor has them; a pair of
// samples a step keeps each lane's word where the multiplication reads it. A disc's track holds
// fewer than 2^32 samples, so positions fit in 32 bits.
WIDEST_VECTORS ProductSums sumProducts(const uint8_t* pcm, uint32_t start, size_t count) noexcept
{
    constexpr uint64_t kLow = 0xFFFFFFFFu;
    ProductSums sums;
    size_t i = 0;
    // 64-bit positions, masked to the 32 bits they hold, so that the vector loop steps them as
    // they are instead of widening 32-bit ones every time.
    for (uint64_t position = start; i + 1 < count; i += 2, position += 2) {
        uint64_t pair;
        std::memcpy(&pair, pcm + i * kBytesPerSample, sizeof pair);
        const uint64_t even = (position & kLow) * (pair & kLow);
        const uint64_t odd = ((position + 1) & kLow) * (pair >> 32);
        sums.all += even + odd;
        sums.low += (even & kLow) + (odd & kLow);
    }
    for (; i < count; ++i) {
        const uint64_t product =
            uint64_t{start + static_cast<uint32_t>(i)} * loadWord(pcm + i * kBytesPerSample);
        sums.all += product;
        sums.low += product & kLow;
    }
    return sums;
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
    // ISA-L folds the bytes with carry-less multiplications, 512 bits at a time where the processor
    // has them; the same CRC-32 as zlib's and FFmpeg's, many times as fast.
    m_crc32 = crc32_gzip_refl(m_crc32, pcm, bytes);
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
    if (from > to)
        return;
    const ProductSums sums =
        sumProducts(pcm + (from - first) * kBytesPerSample, static_cast<uint32_t>(from), to - from + 1);
    m_v1 += sums.lowHalves();
    m_v2High += sums.highHalves();
}

void AccurateRipCrc::addFrame450(const uint8_t* pcm, uint64_t first, uint64_t from, uint64_t to) noexcept
{
    for (uint64_t p = from; p <= to; ++p)
        m_frame450 +=
            static_cast<uint32_t>((p - kFrame450Start) * loadWord(pcm + (p - first) * kBytesPerSample));
}

} // namespace vantorcd
