// A CD-drive emulator, preloaded (LD_PRELOAD) into a test process: the device paths named in
// EMULATED_DRIVES behave as Linux CD drives to libcdio (the sr driver's ioctls, MMC commands through
// CDROM_SEND_PACKET), and every other drive name libcdio looks for is hidden. Its discs come from the
// disc-image writer, never from the library under test.
//
// EMULATED_DRIVES lists drives separated by ";": a device path, behaviour words, then the disc as
// mkdisc's track words ("audio:300,pregap=33 mode1:500", "/" between sessions; none: an empty
// drive). README.md ("CD-drive emulator") documents the behaviour words; besides them, older-toc
// knows READ TOC's format only in byte 9, as drives before MMC did. A description the emulator
// cannot read stops the process: every test relying on it would fail in obscure ways.
//
// Here: the C library functions it interposes, and the process's table of drives (Drive.h).
#include "Drive.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <mntent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

namespace {

using namespace driveemulator;

// ---- The drives of this process, and the file descriptors open on them

struct OpenDrive
{
    Drive* drive;
    unsigned index;    // among the emulated drives: the node's minor number
    bool used = false; // a command went through it: counted among the drive's opens
};

// Never destroyed: other libraries' destructors may still close descriptors at exit.
struct Emulator
{
    std::vector<std::unique_ptr<Drive>> drives;
    std::mutex mutex;
    std::unordered_map<int, OpenDrive> open;

    static Emulator& get()
    {
        static Emulator* const instance = [] {
            auto* created = new Emulator;
            const char* list = std::getenv("EMULATED_DRIVES");
            try {
                created->drives = drivesOf(list != nullptr ? list : "");
            } catch (const std::invalid_argument& error) {
                std::fprintf(stderr, "drive emulator: EMULATED_DRIVES: %s\n", error.what());
                std::abort();
            }
            std::atexit([] { get().writeCountersFiles(); });
            return created;
        }();
        return *instance;
    }

    // The drive's number among the emulated ones; -1 for a path of none.
    int indexOf(const char* path) const
    {
        for (size_t i = 0; path != nullptr && i < drives.size(); ++i)
            if (drives[i]->path == path)
                return static_cast<int>(i);
        return -1;
    }

    // Runs f(OpenDrive&) under the drive's lock when fd is open on an emulated drive; false otherwise.
    template <class F> bool withOpenDrive(int fd, F&& f)
    {
        std::unique_lock<std::mutex> tableLock(mutex);
        const auto found = open.find(fd);
        if (found == open.end())
            return false;
        OpenDrive& state = found->second; // a node's place outlives the table's lock, unlike an iterator
        tableLock.unlock();
        const std::lock_guard<std::mutex> driveLock(state.drive->mutex);
        f(state);
        return true;
    }

    void writeCountersFiles()
    {
        for (const std::unique_ptr<Drive>& drive : drives) {
            const std::lock_guard<std::mutex> lock(drive->mutex);
            const DriveCounters& counters = drive->counters;
            if (drive->countersFile.empty())
                continue;
            std::ofstream file(drive->countersFile, std::ios::trunc);
            file << "commands " << counters.commands << "\nread-cd-commands " << counters.readCdCommands
                 << "\nopens " << counters.opens << "\ntoc-reads " << counters.tocReads
                 << "\nset-speed-commands " << counters.setSpeedCommands << "\nread-speeds-kbs";
            for (const uint16_t speed : counters.readSpeedsKbs)
                file << " " << speed;
            file << "\n";
        }
    }
};

// The names libcdio probes when it looks for drives (/dev/cdrom, /dev/dvd, /dev/hdX, /dev/scdN,
// /dev/srN): with the emulator loaded, the emulated drives are the machine's only drives.
bool isMachineDriveName(const char* path) noexcept
{
    const auto number = [](const char* text) {
        return *text != '\0' && std::strspn(text, "0123456789") == std::strlen(text);
    };
    const char* name = path != nullptr && std::strncmp(path, "/dev/", 5) == 0 ? path + 5 : nullptr;
    return name != nullptr && (std::strcmp(name, "cdrom") == 0 || std::strcmp(name, "dvd") == 0 ||
                               (std::strncmp(name, "hd", 2) == 0 &&
                                std::islower(static_cast<unsigned char>(name[2])) && name[3] == '\0') ||
                               (std::strncmp(name, "scd", 3) == 0 && number(name + 3)) ||
                               (std::strncmp(name, "sr", 2) == 0 && number(name + 2)));
}

template <class Function> Function* next(const char* name)
{
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

// The block device node /dev/srN would be: major 11, minor N.
template <class Status> void describeNode(unsigned index, Status& status)
{
    std::memset(&status, 0, sizeof status);
    std::tie(status.st_mode, status.st_nlink, status.st_rdev, status.st_ino, status.st_blksize) =
        std::tuple(S_IFBLK | 0660, 1, makedev(11, index), 0x5200 + index, 2048);
}

// stat and its kin: the emulated node, no node at all for the machine's own drives, else libc.
template <class Status, class Real> int statPath(const char* path, Status* status, Real real)
{
    const int index = Emulator::get().indexOf(path);
    if (index >= 0)
        describeNode(static_cast<unsigned>(index), *status);
    return index >= 0 ? 0 : isMachineDriveName(path) ? fail(ENOENT) : real(path, status);
}

int openPath(const char* name, const char* path, int flags, mode_t mode)
{
    using Open = int(const char*, int, ...);
    Emulator& emulator = Emulator::get();
    const int index = emulator.indexOf(path);
    if (index < 0)
        return isMachineDriveName(path) ? fail(ENOENT) : next<Open>(name)(path, flags, mode);
    // A descriptor of its own, so that its number stays taken until it is closed.
    const int fd = next<Open>("open")("/dev/null", O_RDONLY | (flags & O_CLOEXEC));
    const std::lock_guard<std::mutex> lock(emulator.mutex);
    if (fd >= 0)
        emulator.open[fd] =
            OpenDrive{emulator.drives[static_cast<size_t>(index)].get(), static_cast<unsigned>(index)};
    return fd;
}

} // namespace

// ---- The C library functions through which libcdio and the project reach a drive

#define INTERPOSED extern "C" __attribute__((visibility("default")))

// The macros take names and types, which parentheses would break.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define INTERPOSE_OPEN(name)                                                                                 \
    INTERPOSED int name(const char* path, int flags, ...)                                                    \
    {                                                                                                        \
        va_list arguments;                                                                                   \
        va_start(arguments, flags);                                                                          \
        const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;                     \
        const mode_t mode = creates ? va_arg(arguments, mode_t) : 0;                                         \
        va_end(arguments);                                                                                   \
        return openPath(#name, path, flags, mode);                                                           \
    }                                                                                                        \
    INTERPOSED int __##name##_2(const char* path, int flags)                                                 \
    {                                                                                                        \
        return openPath(#name, path, flags, 0);                                                              \
    }
INTERPOSE_OPEN(open)
INTERPOSE_OPEN(open64)

#define INTERPOSE_STAT(name, Status)                                                                         \
    INTERPOSED int name(const char* path, Status* status) noexcept                                           \
    {                                                                                                        \
        return statPath(path, status, next<int(const char*, Status*)>(#name));                               \
    }                                                                                                        \
    INTERPOSED int l##name(const char* path, Status* status) noexcept                                        \
    {                                                                                                        \
        return statPath(path, status, next<int(const char*, Status*)>("l" #name));                           \
    }                                                                                                        \
    INTERPOSED int f##name(int fd, Status* status) noexcept                                                  \
    {                                                                                                        \
        const auto describe = [status](OpenDrive& open) { describeNode(open.index, *status); };              \
        return Emulator::get().withOpenDrive(fd, describe) ? 0                                               \
                                                           : next<int(int, Status*)>("f" #name)(fd, status); \
    }
INTERPOSE_STAT(stat, struct stat)
INTERPOSE_STAT(stat64, struct stat64)

// NOLINTEND(bugprone-macro-parentheses)

INTERPOSED int close(int fd)
{
    {
        const std::lock_guard<std::mutex> lock(Emulator::get().mutex);
        Emulator::get().open.erase(fd);
    }
    return next<int(int)>("close")(fd);
}

INTERPOSED int ioctl(int fd, unsigned long request, ...) noexcept
{
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    int result = -1;
    if (Emulator::get().withOpenDrive(fd, [&](OpenDrive& open) {
            const uint64_t before = open.drive->counters.commands;
            result = open.drive->ioctl(request, argument);
            if (!open.used && open.drive->counters.commands != before) {
                open.used = true;
                ++open.drive->counters.opens;
            }
        }))
        return result;
    return next<int(int, unsigned long, ...)>("ioctl")(fd, request, argument);
}

// Mounted ISO 9660 and UDF file systems are where libcdio looks for drives beyond the /dev names.
INTERPOSED struct mntent* getmntent(FILE* stream) noexcept
{
    struct mntent* entry = nullptr;
    auto* real = next<struct mntent*(FILE*)>("getmntent");
    while ((entry = real(stream)) != nullptr)
        if (std::strcmp(entry->mnt_type, "iso9660") != 0 && std::strcmp(entry->mnt_type, "udf") != 0)
            break;
    return entry;
}
