// The C library functions through which libcdio and the project reach a drive, interposed by
// preloading: calls about an emulated drive are answered here, all others go on to the C library.
#include "BlockDevice.h"
#include "Emulator.h"
#include "LinuxIoctls.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <mntent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>

using driveemulator::EmulatedDrive;
using driveemulator::Emulator;
using driveemulator::OpenDrive;

namespace {

constexpr unsigned kScsiCdromMajor = 11;
constexpr ino_t kFirstInode = 0x5200;

template <class Function> Function* next(const char* name)
{
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

// The block device node /dev/srN would be.
template <class Status> void describeNode(const EmulatedDrive& drive, Status& status)
{
    const unsigned index = Emulator::instance().indexOf(drive);
    std::memset(&status, 0, sizeof status);
    status.st_mode = S_IFBLK | 0660;
    status.st_nlink = 1;
    status.st_rdev = makedev(kScsiCdromMajor, index);
    status.st_ino = kFirstInode + index;
    status.st_blksize = 2048;
}

void describeNode(const EmulatedDrive& drive, struct statx& status)
{
    const unsigned index = Emulator::instance().indexOf(drive);
    std::memset(&status, 0, sizeof status);
    status.stx_mask = STATX_BASIC_STATS;
    status.stx_mode = S_IFBLK | 0660;
    status.stx_nlink = 1;
    status.stx_rdev_major = kScsiCdromMajor;
    status.stx_rdev_minor = index;
    status.stx_ino = kFirstInode + index;
    status.stx_blksize = 2048;
}

// stat and its kin: the emulated node, no node at all for the machine's own drives, else libc.
template <class Status, class Real> int statPath(const char* path, Status* status, Real real)
{
    if (EmulatedDrive* drive = Emulator::instance().driveAt(path)) {
        describeNode(*drive, *status);
        return 0;
    }
    if (driveemulator::isMachineDriveName(path)) {
        errno = ENOENT;
        return -1;
    }
    return real(path, status);
}

template <class Status, class Real> int statDescriptor(int fd, Status* status, Real* real)
{
    if (Emulator::instance().withOpenDrive(fd,
                                           [status](OpenDrive& open) { describeNode(*open.drive, *status); }))
        return 0;
    return real(fd, status);
}

int openPath(const char* name, const char* path, int flags, mode_t mode)
{
    using Open = int(const char*, int, ...);
    EmulatedDrive* drive = Emulator::instance().driveAt(path);
    if (drive == nullptr && driveemulator::isMachineDriveName(path)) {
        errno = ENOENT;
        return -1;
    }
    if (drive == nullptr)
        return next<Open>(name)(path, flags, mode);
    // A descriptor of its own, so that its number stays taken until it is closed.
    const int fd = next<Open>("open")("/dev/null", O_RDONLY | (flags & O_CLOEXEC));
    if (fd >= 0)
        Emulator::instance().opened(fd, *drive);
    return fd;
}

mode_t modeArgument(int flags, va_list arguments)
{
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

off_t seek(const char* name, int fd, off_t offset, int whence)
{
    off_t result = -1;
    const bool emulated = Emulator::instance().withOpenDrive(fd, [&](OpenDrive& open) {
        const off_t base = whence == SEEK_SET   ? 0
                           : whence == SEEK_CUR ? open.position
                                                : driveemulator::blockDeviceSize(*open.drive);
        if ((whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) || base + offset < 0)
            errno = EINVAL;
        else
            result = open.position = base + offset;
    });
    return emulated ? result : next<off_t(int, off_t, int)>(name)(fd, offset, whence);
}

} // namespace

#define INTERPOSED extern "C" __attribute__((visibility("default")))

INTERPOSED int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openPath("open", path, flags, mode);
}

INTERPOSED int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openPath("open64", path, flags, mode);
}

INTERPOSED int __open_2(const char* path, int flags)
{
    return openPath("open", path, flags, 0);
}

INTERPOSED int __open64_2(const char* path, int flags)
{
    return openPath("open64", path, flags, 0);
}

INTERPOSED int close(int fd)
{
    Emulator::instance().closed(fd);
    return next<int(int)>("close")(fd);
}

INTERPOSED ssize_t read(int fd, void* buffer, size_t count)
{
    ssize_t result = -1;
    if (Emulator::instance().withOpenDrive(fd, [&](OpenDrive& open) {
            result = driveemulator::readBlocks(*open.drive, open.position, buffer, count);
            open.position += result > 0 ? result : 0;
        }))
        return result;
    return next<ssize_t(int, void*, size_t)>("read")(fd, buffer, count);
}

INTERPOSED off_t lseek(int fd, off_t offset, int whence) noexcept
{
    return seek("lseek", fd, offset, whence);
}

INTERPOSED off64_t lseek64(int fd, off64_t offset, int whence) noexcept
{
    return seek("lseek64", fd, offset, whence);
}

INTERPOSED int ioctl(int fd, unsigned long request, ...) noexcept
{
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    int result = -1;
    if (Emulator::instance().withOpenDrive(fd, [&](OpenDrive& open) {
            const uint64_t before = open.drive->counters().commands;
            result = driveemulator::driveIoctl(*open.drive, request, argument);
            if (!open.used && open.drive->counters().commands != before) {
                open.used = true;
                open.drive->countOpen();
            }
        }))
        return result;
    return next<int(int, unsigned long, ...)>("ioctl")(fd, request, argument);
}

INTERPOSED int stat(const char* path, struct stat* status) noexcept
{
    return statPath(path, status, next<int(const char*, struct stat*)>("stat"));
}

INTERPOSED int lstat(const char* path, struct stat* status) noexcept
{
    return statPath(path, status, next<int(const char*, struct stat*)>("lstat"));
}

INTERPOSED int stat64(const char* path, struct stat64* status) noexcept
{
    return statPath(path, status, next<int(const char*, struct stat64*)>("stat64"));
}

INTERPOSED int lstat64(const char* path, struct stat64* status) noexcept
{
    return statPath(path, status, next<int(const char*, struct stat64*)>("lstat64"));
}

INTERPOSED int fstat(int fd, struct stat* status) noexcept
{
    return statDescriptor(fd, status, next<int(int, struct stat*)>("fstat"));
}

INTERPOSED int fstat64(int fd, struct stat64* status) noexcept
{
    return statDescriptor(fd, status, next<int(int, struct stat64*)>("fstat64"));
}

INTERPOSED int statx(int directory, const char* path, int flags, unsigned mask, struct statx* status) noexcept
{
    const auto real = next<int(int, const char*, int, unsigned, struct statx*)>("statx");
    return statPath(path, status, [&](const char* name, struct statx* found) {
        return real(directory, name, flags, mask, found);
    });
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
