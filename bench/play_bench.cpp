// Plays a 74-minute track through the host interfaces and compares it with reading the same bytes
// with pread. Prints figures only; the page cache is warmed first, and the two loops take turns
// for a few rounds, each keeping its best, so that a neighbour's load on a shared machine weighs
// on both alike. Processor time is printed beside wall time: on a busy machine it is the fairer
// of the two.
//
//   play_bench [directory]   (default: a fresh directory under the system's temporary directory)
#include "WorkDirectory.h"

#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/PluginRegistry.h"

#include "mkdisc/DiscWriter.h"

#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using Vantor::SP;

constexpr uint32_t kTrackSectors = 74 * 60 * 75; // 74:00:00
constexpr int kRounds = 5;

long PeakRssKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall and processor time of one loop, from construction to Stop.
class Stopwatch
{
public:
    Stopwatch() : m_wallStart(Clock::now()), m_processorStart(ProcessorSeconds()) {}

    void Stop(double& wallSeconds, double& processorSeconds) const
    {
        wallSeconds = std::chrono::duration<double>(Clock::now() - m_wallStart).count();
        processorSeconds = ProcessorSeconds() - m_processorStart;
    }

private:
    Clock::time_point m_wallStart;
    double m_processorStart;
};

class FileDescriptor
{
public:
    explicit FileDescriptor(const std::filesystem::path& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        if (m_fd < 0)
            throw std::runtime_error("cannot open " + path.string());
    }
    ~FileDescriptor() { ::close(m_fd); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const noexcept { return m_fd; }

private:
    int m_fd;
};

struct Run
{
    uint64_t packets = 0;
    double seconds = 0;
    double processorSeconds = 0;
    long peakRssBeforeKiB = 0; // with everything loaded and opened, before the first packet
    long peakRssAfterKiB = 0;
};

// The floor: one pread of 2352 bytes per sector, into one reused buffer.
Run PreadLoop(const std::filesystem::path& dataFile, uint32_t sectors)
{
    const FileDescriptor file(dataFile);
    std::array<unsigned char, mkdisc::kRawSectorBytes> buffer{};
    Run run;
    const Stopwatch stopwatch;
    for (uint32_t sector = 0; sector < sectors; ++sector) {
        const auto offset = static_cast<off_t>(sector * mkdisc::kRawSectorBytes);
        if (::pread(file.get(), buffer.data(), buffer.size(), offset) != static_cast<ssize_t>(buffer.size()))
            throw std::runtime_error("short read from " + dataFile.string());
        ++run.packets;
    }
    stopwatch.Stop(run.seconds, run.processorSeconds);
    return run;
}

// The host's way: the registered reader lists the disc, the "cda" factory opens track 1, and
// every packet is released before the next one is read.
Run PlayThroughHost(const std::filesystem::path& cueSheet)
{
    Vantor::Proc::PluginRegistry registry;
    registry.LoadModule(Vantor::ioPath(std::string(PARSERCD_MODULE_PATH)));
    const SP<Vantor::Proc::ICDReader> reader = registry.CreateCDReader(Vantor::ioPath(cueSheet.string()));
    const SP<Vantor::Proc::IParserCreator> factory = registry.GetParserCreators("cda").at(0);
    const SP<Vantor::Proc::IParser> parser =
        factory->Create(Vantor::Core::DataInputPath::Create(reader->GetTrackPath(1)), {}, nullptr);
    Run run;
    run.peakRssBeforeKiB = PeakRssKilobytes();
    const Stopwatch stopwatch;
    while (parser->Read())
        ++run.packets;
    stopwatch.Stop(run.seconds, run.processorSeconds);
    run.peakRssAfterKiB = PeakRssKilobytes();
    return run;
}

// Keeps the faster times of two runs of one loop, and the fewer packets so that a short run shows;
// the memory figures stay those of the first run.
void KeepBest(Run& best, const Run& another)
{
    best.packets = std::min(best.packets, another.packets);
    best.seconds = std::min(best.seconds, another.seconds);
    best.processorSeconds = std::min(best.processorSeconds, another.processorSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const WorkDirectory directory(argc > 1 ? argv[1] : nullptr, "play-bench");
        mkdisc::DiscDescription description;
        description.name = "long";
        mkdisc::TrackDescription track;
        track.sectors = kTrackSectors;
        description.sessions.push_back({{track}});
        const mkdisc::WrittenDisc disc = mkdisc::writeDisc(description, directory.path());

        PreadLoop(disc.dataFiles.at(0), kTrackSectors); // warms the page cache
        Run plain = PreadLoop(disc.dataFiles.at(0), kTrackSectors);
        Run played = PlayThroughHost(disc.cueSheet);
        for (int round = 1; round < kRounds; ++round) {
            KeepBest(plain, PreadLoop(disc.dataFiles.at(0), kTrackSectors));
            KeepBest(played, PlayThroughHost(disc.cueSheet));
        }

        std::printf("sectors                 %u\n", kTrackSectors);
        std::printf("packets played          %llu\n", static_cast<unsigned long long>(played.packets));
        std::printf("packets/s (host)        %.0f\n", played.packets / played.seconds);
        std::printf("sectors/s (pread)       %.0f\n", plain.packets / plain.seconds);
        std::printf("host/pread throughput   %.3f\n",
                    (played.packets / played.seconds) / (plain.packets / plain.seconds));
        std::printf("realtime factor (host)  %.0f\n", played.packets / 75.0 / played.seconds);
        std::printf("us/sector host, pread   %.3f, %.3f wall; %.3f, %.3f processor\n",
                    played.seconds * 1e6 / played.packets, plain.seconds * 1e6 / plain.packets,
                    played.processorSeconds * 1e6 / played.packets,
                    plain.processorSeconds * 1e6 / plain.packets);
        std::printf("peak RSS before (KiB)   %ld\n", played.peakRssBeforeKiB);
        std::printf("peak RSS after (KiB)    %ld\n", played.peakRssAfterKiB);
        std::printf("ratio: %.2fx wall, %.2fx processor (host time over pread time; goal: at or under "
                    "1.15x; best of %d rounds each)\n",
                    played.seconds / plain.seconds, played.processorSeconds / plain.processorSeconds,
                    kRounds);
        return played.packets == kTrackSectors ? EXIT_SUCCESS : EXIT_FAILURE;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "play_bench: %s\n", e.what());
        return EXIT_FAILURE;
    }
}
