// A read-only file descriptor, closed by its owner. Reads go through pread, so several
// threads may read one descriptor at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace cueify {

class FileDescriptor
{
public:
    // Throws Failure (CUEIFY_ERR_NO_DEVICE), naming the file as displayName, when the path is no regular file
    // that can be opened for reading.
    static FileDescriptor openRegularFile(const std::filesystem::path& path, const std::string& displayName);

    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    // The file's size now. Throws Failure (CUEIFY_ERR_NO_DEVICE) when fstat fails.
    uint64_t size() const;

    // The file's size now, by the cheapest call that tells it (lseek to the end: it moves the
    // file position, which no read uses). False when the call fails.
    bool sizeNow(uint64_t& bytes) const noexcept;

    // True only when all length bytes at offset were read.
    bool readExact(uint64_t offset, void* buffer, size_t length) const noexcept;

private:
    explicit FileDescriptor(int fd) noexcept : m_fd(fd) {}

    int m_fd = -1;
};

} // namespace cueify
