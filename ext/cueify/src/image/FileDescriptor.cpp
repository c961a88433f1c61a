#include "image/FileDescriptor.h"

#include "core/Failure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace cueify {

namespace {

// The reason of a failed open as a user reads it.
std::string openFailure(int error)
{
    switch (error) {
    case ENOENT:
        return "no such file";
    case EACCES:
        return "permission denied";
    case EISDIR:
        return "a directory";
    default:
        return std::strerror(error);
    }
}

} // namespace

FileDescriptor FileDescriptor::openRegularFile(const std::filesystem::path& path,
                                               const std::string& displayName)
{
    // O_NONBLOCK: a FIFO named as a data file must not block the open; regular files ignore it.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.m_fd < 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "cannot open '" + displayName + "': " + openFailure(errno));
    struct stat status;
    if (::fstat(file.m_fd, &status) != 0 || !S_ISREG(status.st_mode))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "cannot open '" + displayName + "': not a regular file");
    return file;
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

uint64_t FileDescriptor::size() const
{
    struct stat status;
    if (::fstat(m_fd, &status) != 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "cannot tell the size of a data file");
    return static_cast<uint64_t>(status.st_size);
}

bool FileDescriptor::sizeNow(uint64_t& bytes) const noexcept
{
    const off_t end = ::lseek(m_fd, 0, SEEK_END);
    if (end < 0)
        return false;
    bytes = static_cast<uint64_t>(end);
    return true;
}

bool FileDescriptor::readExact(uint64_t offset, void* buffer, size_t length) const noexcept
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (length > 0) {
        const ssize_t got = ::pread(m_fd, bytes, length, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        offset += static_cast<uint64_t>(got);
        length -= static_cast<size_t>(got);
    }
    return true;
}

} // namespace cueify
