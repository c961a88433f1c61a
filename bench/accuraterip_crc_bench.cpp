// AccurateRip's v1, v2 and frame-450 CRCs and the CRC32 over 74 minutes of generated CD audio in
// memory, as rip-disc computes them beside reading and writing: prints the processor seconds they
// take on this one thread (the fastest of five runs), all of them and the CRC32 on its own, so that a rip's
// time can be told apart into what AccurateRip adds and what the log's CRC32 adds. Prints figures only.
//
//   accuraterip_crc_bench
#include "AccurateRipCrc.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <discgeometry/DiscGeometry.h>
#include <isa-l/crc.h>
#include <random>
#include <vector>

namespace {

constexpr uint64_t kSectors = 333000; // 74:00 of audio, as rip_bench.sh's image
constexpr uint64_t kTracks = 15;
using discgeometry::kRawSectorBytes;
constexpr uint64_t kChunkSectors = 32; // as rip-disc hands them to the writer and the CRCs

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Calls feed(bytes) for each chunk of a track's sectors, in order, as rip-disc hands them on.
template <typename Feed> void feedTrack(Feed feed)
{
    const uint64_t trackSectors = kSectors / kTracks;
    for (uint64_t sector = 0; sector < trackSectors; sector += kChunkSectors)
        feed(std::min(kChunkSectors, trackSectors - sector) * kRawSectorBytes);
}

// The processor seconds of the fastest of five runs: a run that met other work on the machine, or a
// lowered clock, says nothing of the code.
template <typename Run> double fastestOf(Run run)
{
    double fastest = 0;
    for (int round = 0; round < 5; ++round) {
        const double start = processorSeconds();
        run();
        const double seconds = processorSeconds() - start;
        fastest = round == 0 ? seconds : std::min(fastest, seconds);
    }
    return fastest;
}

void print(const char* name, double seconds)
{
    std::printf("%-34s %7.3f s processor  %7.0fx real time\n", name, seconds,
                static_cast<double>(kSectors) / 75 / seconds);
}

} // namespace

int main()
{
    // A chunk of noise, fed again and again: the CRCs' cost does not depend on the data, and in a rip
    // each chunk of sectors reaches them right after it was written, from the processor's cache, as
    // this one does. Every result goes into a sink that is printed, so that the compiler keeps the work.
    std::vector<uint8_t> noise(kChunkSectors * kRawSectorBytes);
    std::mt19937 random(42);
    for (uint8_t& byte : noise)
        byte = static_cast<uint8_t>(random());
    const uint64_t trackSamples = kSectors / kTracks * discgeometry::kSamplesPerSector;

    uint32_t allSink = 0;
    const double all = fastestOf([&] {
        for (uint64_t number = 1; number <= kTracks; ++number) {
            vantorcd::AccurateRipCrc crc(trackSamples, number == 1, number == kTracks);
            feedTrack([&](size_t bytes) { crc.add(noise.data(), bytes); });
            allSink ^= crc.v1() ^ crc.v2() ^ crc.frame450() ^ crc.crc32();
        }
    });
    uint32_t crc32Sink = 0;
    const double crc32Only = fastestOf([&] {
        for (uint64_t number = 1; number <= kTracks; ++number) {
            uint32_t crc32 = 0;
            feedTrack([&](size_t bytes) { crc32 = crc32_gzip_refl(crc32, noise.data(), bytes); });
            crc32Sink ^= crc32;
        }
    });

    print("AccurateRip CRCs and CRC32", all);
    print("CRC32 alone", crc32Only);
    print("AccurateRip CRCs alone", all - crc32Only);
    std::printf("(sums %08x %08x)\n", allSink, crc32Sink);
    return 0;
}
