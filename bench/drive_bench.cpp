// Rips a 74-minute audio disc, every sector in order through cueify_device_read_raw, from emulated
// drives with the speed model of a 52x drive on USB (600 us a command, 256 us a sector). One drive
// takes READ CD commands as long as the backend asks for; beside it, in the same run, a drive whose
// kernel transfer limit is below one sector gets one command per sector, as before read-ahead.
// Prints figures only: commands sent, sectors per command, the real-time factor by wall clock, the
// fraction of the model's ceiling (its per-sector cost alone) the rip reached by wall clock, and the
// time the model charged with the fraction of the ceiling that leaves, the host's own time aside.
//
//   drive_bench [minutes]   (default: 74)
#include <cueify/cueify.h>

#include "EmulatedDrives.h"
#include "drive_emulator/DriveCounters.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kSectorsPerMinute = 60 * 75;
constexpr uint32_t kTracks = 10;
constexpr double kSectorMicroseconds = 256;
constexpr const char* kModel = "cmd-us=600,sector-us=256";

struct DeviceFree
{
    void operator()(cueify_device* d) const { cueify_device_free(d); }
};

std::string drives(uint32_t sectors)
{
    std::string tracks;
    for (uint32_t track = 0; track < kTracks; ++track)
        tracks += " audio:" + std::to_string(sectors / kTracks);
    return std::string("/dev/sr1 ") + kModel + tracks + ";/dev/sr2 max-sectors-kb=2 " + kModel + tracks;
}

void rip(const char* label, const char* path, uint32_t sectors)
{
    std::unique_ptr<cueify_device, DeviceFree> device(cueify_device_new());
    if (!device || cueify_device_open(device.get(), path) != CUEIFY_OK) {
        std::fprintf(stderr, "cannot open %s\n", path);
        std::exit(EXIT_FAILURE);
    }
    const auto before = driveemulator::readDriveCounters(path);
    std::array<uint8_t, CUEIFY_RAW_SECTOR_SIZE> sector{};
    const Clock::time_point start = Clock::now();
    for (uint32_t lba = 0; lba < sectors; ++lba)
        if (cueify_device_read_raw(device.get(), lba, sector.data()) != CUEIFY_OK) {
            std::fprintf(stderr, "%s: read error at LBA %u\n", path, lba);
            std::exit(EXIT_FAILURE);
        }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const auto after = driveemulator::readDriveCounters(path);
    const double commands = static_cast<double>(after->readCdCommands - before->readCdCommands);
    const double modelSeconds =
        static_cast<double>(after->modelMicroseconds - before->modelMicroseconds) / 1e6;
    const double ceilingSeconds = sectors * kSectorMicroseconds / 1e6;
    std::printf("%-24s %9.0f %11.1f %9.1fx %8.1f s %9.0f%% %9.1f s %9.0f%%\n", label, commands,
                sectors / commands, sectors / 75.0 / seconds, seconds, 100.0 * ceilingSeconds / seconds,
                modelSeconds, 100.0 * ceilingSeconds / modelSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    const uint32_t minutes = argc > 1 ? static_cast<uint32_t>(std::atoi(argv[1])) : 74;
    const uint32_t sectors = minutes * kSectorsPerMinute / kTracks * kTracks;
    testsupport::runWithEmulatedDrives(argv, drives(sectors));
    std::printf("%u sectors (%u minutes) from an emulated drive, model %s\n", sectors, minutes, kModel);
    std::printf("%-24s %9s %11s %10s %10s %10s %10s %10s\n", "", "commands", "sectors/cmd", "real-time",
                "wall", "ceiling", "model", "ceiling");
    rip("read-ahead", "/dev/sr1", sectors);
    rip("one command per sector", "/dev/sr2", sectors);
    return EXIT_SUCCESS;
}
