// AccurateRip's v1, v2 and frame-450 CRCs and the CRC32 over 74 minutes of generated CD audio in
// memory, as rip-disc computes them beside reading and writing: prints the processor seconds they
// take on this one thread, the share of a rip's time they account for. Prints figures only.
//
//   accuraterip_crc_bench
#include "AccurateRipCrc.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <discgeometry/DiscGeometry.h>
#include <random>
#include <vector>

namespace {

constexpr uint64_t kSectors = 333000; // 74:00 of audio, as rip_bench.sh's image
constexpr uint64_t kTracks = 15;
using discgeometry::kRawSectorBytes;

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main()
{
    // One track's worth of noise, fed again for every track: the CRCs' cost does not depend on the data.
    const uint64_t trackSectors = kSectors / kTracks;
    std::vector<uint8_t> track(trackSectors * kRawSectorBytes);
    std::mt19937 random(42);
    for (uint8_t& byte : track)
        byte = static_cast<uint8_t>(random());
    uint32_t sink = 0;
    const double start = processorSeconds();
    for (uint64_t number = 1; number <= kTracks; ++number) {
        vantorcd::AccurateRipCrc crc(trackSectors * 588, number == 1, number == kTracks);
        for (uint64_t sector = 0; sector < trackSectors; ++sector)
            crc.add(track.data() + sector * kRawSectorBytes, kRawSectorBytes);
        sink ^= crc.v1() ^ crc.v2() ^ crc.frame450() ^ crc.crc32();
    }
    const double seconds = processorSeconds() - start;
    std::printf("%-34s %7.2f s processor  %7.0fx real time  (%08x)\n", "AccurateRip CRCs and CRC32 alone",
                seconds, static_cast<double>(kSectors) / 75 / seconds, sink);
    return 0;
}
