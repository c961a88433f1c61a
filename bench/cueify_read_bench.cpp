// Reads every sector of a 74-minute disc image through cueify_device_read_raw, one sector a call,
// and compares it with a plain pread loop of 2352-byte reads over the same file. Prints figures
// only; the page cache is warmed first so that both loops measure the library, not the disk, and
// the two loops take turns for a few rounds, each keeping its best, so that a neighbour's load on
// a shared machine weighs on both alike.
//
//   cueify_read_bench [directory]   (default: a fresh directory under the system's temporary directory)
#include <cueify/cueify.h>

#include "WorkDirectory.h"
#include "mkdisc/DiscWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kSectors = 333000; // 74:00:00
constexpr int kRounds = 3;

struct DeviceFree
{
    void operator()(cueify_device* d) const { cueify_device_free(d); }
};

class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const fs::path& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        if (m_fd < 0)
            throw std::runtime_error("cannot open " + path.string());
    }
    ~ReadOnlyFile() { ::close(m_fd); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    int get() const noexcept { return m_fd; }

private:
    int m_fd;
};

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

uint64_t checksumOf(const uint8_t* sector)
{
    uint64_t sum = 0;
    for (size_t i = 0; i < CUEIFY_RAW_SECTOR_SIZE; i += 64)
        sum += sector[i];
    return sum;
}

// Seconds for reading every sector through the library; failed reads are counted in failures.
double timeLibraryReads(const fs::path& cueSheet, uint64_t& checksum, uint32_t& failures)
{
    std::unique_ptr<cueify_device, DeviceFree> device(cueify_device_new());
    if (!device || cueify_device_open(device.get(), cueSheet.c_str()) != CUEIFY_OK)
        throw std::runtime_error("cannot open " + cueSheet.string());
    std::array<uint8_t, CUEIFY_RAW_SECTOR_SIZE> sector{};
    const Clock::time_point start = Clock::now();
    for (uint32_t lba = 0; lba < kSectors; ++lba) {
        if (cueify_device_read_raw(device.get(), lba, sector.data()) != CUEIFY_OK)
            ++failures;
        checksum += checksumOf(sector.data());
    }
    return secondsSince(start);
}

double timePreadReads(const fs::path& dataFile, uint64_t& checksum, uint32_t& failures)
{
    const ReadOnlyFile file(dataFile);
    std::array<uint8_t, CUEIFY_RAW_SECTOR_SIZE> sector{};
    const Clock::time_point start = Clock::now();
    for (uint32_t i = 0; i < kSectors; ++i) {
        if (::pread(file.get(), sector.data(), sector.size(), off_t{i} * CUEIFY_RAW_SECTOR_SIZE) !=
            static_cast<ssize_t>(sector.size()))
            ++failures;
        checksum += checksumOf(sector.data());
    }
    return secondsSince(start);
}

mkdisc::WrittenDisc writeImage(const fs::path& directory)
{
    mkdisc::DiscDescription description;
    description.name = "bench";
    description.writeCdaFiles = false;
    mkdisc::TrackDescription track;
    track.sectors = kSectors;
    description.sessions = {{{track}}};
    return mkdisc::writeDisc(description, directory);
}

int run(const char* directoryArgument)
{
    const WorkDirectory directory(directoryArgument, "cueify-read-bench");
    const Clock::time_point writeStart = Clock::now();
    const mkdisc::WrittenDisc disc = writeImage(directory.path());
    std::printf("wrote %u sectors (%.0f MiB) in %.1f s\n", kSectors,
                kSectors * double{CUEIFY_RAW_SECTOR_SIZE} / (1 << 20), secondsSince(writeStart));

    uint64_t warmSum = 0, librarySum = 0, preadSum = 0;
    uint32_t warmFailures = 0, libraryFailures = 0, preadFailures = 0;
    timePreadReads(disc.dataFiles.front(), warmSum, warmFailures); // page cache warm
    double library = 1e9, plain = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        librarySum = preadSum = 0;
        library = std::min(library, timeLibraryReads(disc.cueSheet, librarySum, libraryFailures));
        plain = std::min(plain, timePreadReads(disc.dataFiles.front(), preadSum, preadFailures));
    }

    const double libraryMicros = library * 1e6 / kSectors;
    const double plainMicros = plain * 1e6 / kSectors;
    std::printf("cueify_device_read_raw: %.3f us/sector (%.2f s, %u failed)\n", libraryMicros, library,
                libraryFailures);
    std::printf("pread 2352 bytes:       %.3f us/sector (%.2f s, %u failed)\n", plainMicros, plain,
                preadFailures);
    std::printf("ratio: %.2fx (goal: at or under 1.00x; best of %d rounds each)\n",
                libraryMicros / plainMicros, kRounds);
    if (librarySum != preadSum)
        std::printf("warning: the two loops read different bytes\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc > 1 ? argv[1] : nullptr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cueify_read_bench: %s\n", error.what());
        return 1;
    }
}
