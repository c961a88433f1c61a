// What an emulated drive has served, for tests and benchmarks to read through an ioctl of the
// emulator's own on a descriptor open on the drive's path, or, for a program run in a process of its
// own, from the file its word counters=FILE names.
#pragma once

#include <cstdint>
#include <optional>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace driveemulator {

struct DriveCounters
{
    uint64_t commands = 0;          // MMC commands, whichever transport or kernel ioctl carried them
    uint64_t readCdCommands = 0;    // READ CD, failed ones included
    uint64_t modelMicroseconds = 0; // what the speed model charged for all of them
    uint64_t opens = 0;             // descriptors through which the drive was sent a command
    uint64_t tocReads = 0;          // tables of contents read, counted by their header: READ TOC
                                    // format 0 from track 0, which is also what CDROMREADTOCHDR sends
    uint64_t setSpeedCommands = 0;  // SET CD SPEED, refused ones included
    uint16_t readSpeedsKbs[4] = {}; // the read speeds the first four of them asked for, in kB/s
};

// No kernel driver answers this type on a CD drive's node.
constexpr unsigned long kReadDriveCounters = _IOR('E', 0x71, DriveCounters);

// The drive's counters since the process started; none when the path is no emulated drive.
inline std::optional<DriveCounters> readDriveCounters(const char* path)
{
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    DriveCounters counters;
    const int result = ::ioctl(fd, kReadDriveCounters, &counters);
    ::close(fd);
    return result == 0 ? std::optional<DriveCounters>(counters) : std::nullopt;
}

} // namespace driveemulator
