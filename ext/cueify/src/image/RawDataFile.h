// A data file whose sector bytes lie in it as they are, from some offset on: BINARY files,
// the samples of WAVE and AIFF files, and MOTOROLA files, whose big-endian samples are
// swapped on the way out.
#pragma once

#include "image/DataFile.h"
#include "image/FileDescriptor.h"

namespace cueify {

enum class SampleOrder
{
    AsStored,
    Swapped // 16-bit samples stored big-endian
};

class RawDataFile final : public DataFile
{
public:
    RawDataFile(FileDescriptor file, uint64_t offset, uint64_t bytes, SampleOrder order) noexcept
        : m_file(std::move(file)), m_offset(offset), m_bytes(bytes), m_order(order)
    {
    }

    uint64_t size() const noexcept override { return m_bytes; }
    bool read(uint64_t offset, uint8_t* buffer, size_t length) noexcept override;

private:
    FileDescriptor m_file;
    uint64_t m_offset = 0; // of the first sector byte
    uint64_t m_bytes = 0;
    SampleOrder m_order = SampleOrder::AsStored;
};

} // namespace cueify
