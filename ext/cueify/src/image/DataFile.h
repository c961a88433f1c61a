// One FILE of a CUE sheet as the run of bytes its sectors are cut from: the whole file for
// BINARY, the samples as 16-bit little-endian stereo for every audio file type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace cueify {

// How a FILE line's type keyword says to read the file.
enum class DataFileType
{
    Binary,   // BINARY: the bytes as they are
    Motorola, // MOTOROLA: raw samples, big-endian
    Audio     // WAVE, AIFF, FLAC, ...: a container told apart by its content
};

class DataFile
{
public:
    virtual ~DataFile() = default;

    // Bytes the file held when it was opened.
    virtual uint64_t size() const noexcept = 0;

    // True only when all length bytes at offset were read: a file that has shrunk since it was
    // opened gives no short read. One caller at a time.
    virtual bool read(uint64_t offset, uint8_t* buffer, size_t length) noexcept = 0;
};

// Throws ImageError, with a text that names the file as displayName, when the file is
// missing or is no CD audio (44,100 Hz, 16-bit, two channels, lossless).
std::unique_ptr<DataFile> openDataFile(const std::filesystem::path& path, DataFileType type,
                                       const std::string& displayName);

} // namespace cueify
