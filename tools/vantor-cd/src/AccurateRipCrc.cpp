#include "AccurateRipCrc.h"

#include <discgeometry/DiscGeometry.h>
#include <isa-l/crc.h>

#include <algorithm>
#include <cstring>

namespace vantorcd {
namespace {

using discgeometry::kSamplesPerSector;
constexpr uint64_t kSkippedAtDiscStart = uint64_t{5} * kSamplesPerSector - 1;
constexpr uint64_t kSkippedAtDiscEnd = uint64_t{5} * kSamplesPerSector;
constexpr uint64_t kFrame450Start = uint64_t{450} * kSamplesPerSector; // the sample before sector 450's first
using discgeometry::kBytesPerSample;

// Samples are loaded as whole little-endian words, one or two at a time: assembled byte by byte,
// the compiler shuffles bytes in its vector loops and takes several times as long.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "CD audio words are loaded as they lie in memory");

uint32_t loadWord(const uint8_t* sample) noexcept
{
    uint32_t word;
    std::memcpy(&word, sample, sizeof word);
    return word;
}

// AVX2's 256-bit vectors where the processor has them: 512-bit ones, measured on a Xeon, came out
// slower, the processor lowering its clock for them.
#if defined(__x86_64__)
#define AVX2_WHERE_AVAILABLE __attribute__((target_clones("avx2", "default")))
#else
#define AVX2_WHERE_AVAILABLE
#endif

struct ProductSums
{
    uint32_t lowHalves = 0;  // of the products, modulo 2^32
    uint32_t highHalves = 0; // likewise
};

// Eight 64-bit lanes, and the same bits as sixteen 32-bit ones: on a little-endian processor the
// even ones are the low halves.
using Lanes64 = uint64_t __attribute__((vector_size(64)));
using Lanes32 = uint32_t __attribute__((vector_size(64)));

// The products of count samples with the positions start, start + 1, ...: 32 by 32 bits into 64,
// which vector units multiply several at a time. The products are summed as 32-bit halves, each on
// its own, so that one addition a vector of products keeps both sums. A disc's track holds fewer
// than 2^32 samples, so positions fit in 32 bits.
AVX2_WHERE_AVAILABLE ProductSums sumProducts(const uint8_t* pcm, uint32_t start, size_t count) noexcept
{
    constexpr uint64_t kLow = 0xFFFFFFFFu;
    constexpr size_t kStep = 2 * sizeof(Lanes64) / sizeof(uint64_t); // samples: two a 64-bit lane
    Lanes32 halves{};
    Lanes64 even{}; // the positions of the samples in the lanes' low halves
    for (size_t lane = 0; lane < kStep / 2; ++lane)
        even[lane] = uint64_t{start} + 2 * lane;
    size_t i = 0;
    for (; i + kStep <= count; i += kStep, even += kStep) {
        Lanes64 words;
        std::memcpy(&words, pcm + i * kBytesPerSample, sizeof words);
        const Lanes64 evenProducts = (even & kLow) * (words & kLow);
        const Lanes64 oddProducts = ((even + 1) & kLow) * (words >> 32);
        halves += __builtin_bit_cast(Lanes32, evenProducts) + __builtin_bit_cast(Lanes32, oddProducts);
    }
    ProductSums sums;
    for (size_t lane = 0; lane < kStep; lane += 2) {
        sums.lowHalves += halves[lane];
        sums.highHalves += halves[lane + 1];
    }
    for (; i < count; ++i) {
        const uint64_t product =
            uint64_t{start + static_cast<uint32_t>(i)} * loadWord(pcm + i * kBytesPerSample);
        sums.lowHalves += static_cast<uint32_t>(product);
        sums.highHalves += static_cast<uint32_t>(product >> 32);
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
    m_v1 += sums.lowHalves;
    m_v2High += sums.highHalves;
}

void AccurateRipCrc::addFrame450(const uint8_t* pcm, uint64_t first, uint64_t from, uint64_t to) noexcept
{
    for (uint64_t p = from; p <= to; ++p)
        m_frame450 +=
            static_cast<uint32_t>((p - kFrame450Start) * loadWord(pcm + (p - first) * kBytesPerSample));
}

} // namespace vantorcd
