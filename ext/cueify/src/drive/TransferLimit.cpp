#include "drive/TransferLimit.h"

#include "core/Addressing.h"

#include <algorithm>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace cueify {

namespace {

constexpr uint32_t kKernelSectorBytes = 512; // BLKSECTGET's unit, whatever the device's block size

} // namespace

uint32_t readAheadSectorsFor(const std::string& path) noexcept
{
    // libcdio keeps its descriptor to itself; a short-lived one of our own asks the block layer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return kReadAheadSectors;
    unsigned short maxSectors = 0;
    const int result = ::ioctl(fd, BLKSECTGET, &maxSectors);
    ::close(fd);
    if (result != 0 || maxSectors == 0)
        return kReadAheadSectors;
    return static_cast<uint32_t>(std::clamp<uint64_t>(
        uint64_t{maxSectors} * kKernelSectorBytes / kRawSectorBytes, 1, kReadAheadSectors));
}

} // namespace cueify
