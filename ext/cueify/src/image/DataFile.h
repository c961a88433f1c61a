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
    Audio     // WAVE, AIFF, FLAC, ...: told apart by content; RIFF WAVE and AIFF read as stored,
              // anything else decoded by FFmpeg
};

class DataFile
{
public:
    virtual ~DataFile() = default;

    // Bytes the file held when it was opened.
    virtual uint64_t size() const noexcept = 0;

    // True only when all length bytes at offset were read: a file that has shrunk since it was
    // opened gives no short read. Several threads may read one file at once.
    virtual bool read(uint64_t offset, uint8_t* buffer, size_t length) noexcept = 0;
};

// Throws Failure (CUEIFY_ERR_NO_DEVICE), with a text that names the file as displayName and says why, when
// the file is missing or is no CD audio (44,100 Hz, 16-bit, two channels, lossless): for example
// "'x.flac': not 44,100 Hz 16-bit stereo (48,000 Hz)" or "'x.mp3': not lossless (mp3)".
std::unique_ptr<DataFile> openDataFile(const std::filesystem::path& path, DataFileType type,
                                       const std::string& displayName);

} // namespace cueify
