// One FILE of a CUE sheet: raw sectors, either the whole file (BINARY) or the samples
// of a WAVE file.
#pragma once

#include "core/Addressing.h"
#include "image/FileDescriptor.h"

#include <cstdint>
#include <filesystem>
#include <utility>

namespace cueify {

enum class DataFileType
{
    Binary,
    Wave
};

class DataFile
{
public:
    // Throws ImageError when the file is missing or, for WAVE, not CD audio.
    static DataFile open(const std::filesystem::path& path, DataFileType type);

    // Whole sectors the file held when it was opened; a partial sector at its end is not counted.
    uint64_t sectorCount() const noexcept { return m_bytes / kRawSectorBytes; }

    // True only when all 2352 bytes were read: a file that has shrunk since it was opened
    // gives no short sector.
    bool readSector(FileSector sector, uint8_t* buffer) const noexcept;

private:
    DataFile(FileDescriptor file, uint64_t offset, uint64_t bytes) noexcept
        : m_file(std::move(file)), m_offset(offset), m_bytes(bytes)
    {}

    FileDescriptor m_file;
    uint64_t m_offset = 0; // of sector 0
    uint64_t m_bytes = 0;
};

} // namespace cueify
