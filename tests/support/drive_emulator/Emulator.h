// The emulated drives of this process, and the file descriptors open on them.
#pragma once

#include "EmulatedDrive.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <sys/types.h>

namespace driveemulator {

struct OpenDrive
{
    EmulatedDrive* drive;
    off_t position;
    bool used = false; // a command went through it: counted among the drive's opens
};

class Emulator
{
public:
    // The drives EMULATED_DRIVES names; a description it cannot read stops the process, since
    // every test that relies on it would otherwise fail in obscure ways.
    static Emulator& instance();

    // Null when the path names no emulated drive.
    EmulatedDrive* driveAt(const char* path) const noexcept;
    // The drive's number among the emulated ones, which becomes its minor device number.
    unsigned indexOf(const EmulatedDrive& drive) const noexcept;

    void opened(int fd, EmulatedDrive& drive);
    // Writes the counters of each drive that names a file for them.
    void writeCountersFiles() const;
    void closed(int fd);
    // Runs f(OpenDrive&) under the drive's lock when fd is open on an emulated drive; false otherwise.
    template <class F> bool withOpenDrive(int fd, F&& f)
    {
        std::unique_lock<std::mutex> tableLock(m_mutex);
        const auto open = m_open.find(fd);
        if (open == m_open.end())
            return false;
        OpenDrive& state = open->second;
        tableLock.unlock();
        std::lock_guard<std::mutex> driveLock(state.drive->mutex());
        f(state);
        return true;
    }

private:
    Emulator();

    std::vector<std::unique_ptr<EmulatedDrive>> m_drives;
    std::mutex m_mutex;
    std::unordered_map<int, OpenDrive> m_open;
};

// True for the names libcdio probes when it looks for drives (/dev/cdrom, /dev/dvd, /dev/hdX,
// /dev/scdN, /dev/srN): with the emulator loaded, the emulated drives are the machine's only drives.
bool isMachineDriveName(const char* path) noexcept;

} // namespace driveemulator
