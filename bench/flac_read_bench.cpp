// Plays 74 minutes of CD audio from a FLAC data file, one 2352-byte sector a read in order, as a
// FLAC-backed disc image plays, and prints the real-time factor on this one thread beside the
// ffmpeg command decoding the same file to /dev/null on one thread. Prints figures only.
//
//   flac_read_bench [directory]   (default: a fresh directory under the system's temporary directory;
//                                  album.flac there is reused)
#include "WorkDirectory.h"
#include "image/DataFile.h"

#include <algorithm>
#include <discgeometry/DiscGeometry.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kSeconds = 74 * 60;
using discgeometry::kRawSectorBytes;
using discgeometry::kSampleRate;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

// Music-like samples: each channel a random walk with a little noise, so that FLAC's predictors
// work about as hard as on a recording, with the two channels correlated but not equal. A named
// directory that already holds the file keeps it.
fs::path writeFlac(const fs::path& directory)
{
    const fs::path raw = directory / "album.raw";
    fs::path flac = directory / "album.flac";
    if (fs::exists(flac))
        return flac;
    {
        std::ofstream out(raw, std::ios::binary);
        std::minstd_rand random(44100);
        std::vector<int16_t> block(size_t{2} * kSampleRate);
        int left = 0, right = 0;
        for (uint32_t second = 0; second < kSeconds; ++second) {
            for (size_t i = 0; i < block.size(); i += 2) {
                left = std::clamp(left + static_cast<int>(random() % 801) - 400, -20000, 20000);
                right =
                    std::clamp((right * 7 + left) / 8 + static_cast<int>(random() % 65) - 32, -20000, 20000);
                block[i] = static_cast<int16_t>(left);
                block[i + 1] = static_cast<int16_t>(right);
            }
            out.write(reinterpret_cast<const char*>(block.data()),
                      static_cast<std::streamsize>(block.size() * 2));
        }
    }
    run("ffmpeg -nostdin -v error -y -f s16le -ar 44100 -ac 2 -i '" + raw.string() + "' '" + flac.string() +
        "'");
    fs::remove(raw);
    return flac;
}

// Wall-clock and processor seconds of one run. On a machine shared with other work the processor
// time is the fairer figure for "on one core": it leaves out the time others held the core.
struct Timing
{
    double wall = 0;
    double cpu = 0;
};

double cpuSecondsOf(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Timing timeDataFileReads(const fs::path& flac, uint64_t& bytes, uint32_t& failures)
{
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSecondsOf(RUSAGE_THREAD);
    const auto file = cueify::openDataFile(flac, cueify::DataFileType::Audio, flac.filename().string());
    std::array<uint8_t, kRawSectorBytes> sector{};
    for (uint64_t offset = 0; offset + kRawSectorBytes <= file->size(); offset += kRawSectorBytes) {
        if (!file->read(offset, sector.data(), sector.size()))
            ++failures;
        bytes += sector.size();
    }
    return {secondsSince(start), cpuSecondsOf(RUSAGE_THREAD) - cpuStart};
}

Timing timeFfmpegDecode(const fs::path& flac)
{
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSecondsOf(RUSAGE_CHILDREN);
    run("ffmpeg -nostdin -v error -threads 1 -i '" + flac.string() + "' -f s16le -y /dev/null");
    return {secondsSince(start), cpuSecondsOf(RUSAGE_CHILDREN) - cpuStart};
}

void printTiming(const char* what, const Timing& timing)
{
    std::printf("%-42s %6.2f s wall, %5.0fx real time; %6.2f s processor, %5.0fx real time\n", what,
                timing.wall, kSeconds / timing.wall, timing.cpu, kSeconds / timing.cpu);
}

int benchmark(const char* directoryArgument)
{
    const WorkDirectory directory(directoryArgument, "flac-read-bench");
    const Clock::time_point writeStart = Clock::now();
    const fs::path flac = writeFlac(directory.path());
    std::printf("wrote %u s of audio as FLAC (%.0f MiB) in %.1f s\n", kSeconds,
                static_cast<double>(fs::file_size(flac)) / (1 << 20), secondsSince(writeStart));

    timeFfmpegDecode(flac); // page cache warm
    uint64_t bytes = 0;
    uint32_t failures = 0;
    const Timing library = timeDataFileReads(flac, bytes, failures);
    const Timing ffmpeg = timeFfmpegDecode(flac);
    printTiming("FLAC data file, 2352-byte reads in order:", library);
    printTiming("ffmpeg -threads 1 to /dev/null:", ffmpeg);
    std::printf("%u reads failed; %.0f MiB read\n", failures, static_cast<double>(bytes) / (1 << 20));
    std::printf("goal: 500x real time or more\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return benchmark(argc > 1 ? argv[1] : nullptr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "flac_read_bench: %s\n", error.what());
        return 1;
    }
}
