// Arms the pread interposer linked into the test program (faulty_read/FaultyRead.c, the one
// the command-line host's tests preload): reads of one file that reach a byte offset fail with
// EIO, as a damaged area of a disc would, until the fault is lifted.
#pragma once

#include <cstdint>
#include <filesystem>

namespace reliability {

class ReadFault
{
public:
    ReadFault(const std::filesystem::path& file, uint64_t offset);
    ~ReadFault();
    ReadFault(const ReadFault&) = delete;
    ReadFault& operator=(const ReadFault&) = delete;

    void lift() noexcept;
};

} // namespace reliability
