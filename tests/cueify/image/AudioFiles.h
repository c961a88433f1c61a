// CD samples generated for a test, data files made of them with the ffmpeg command, and data
// files read back whole or in pieces.
#pragma once

#include "FfmpegCommand.h"
#include "ScratchDirectory.h"
#include "wave/WaveFile.h"

#include "core/Failure.h"
#include "image/DataFile.h"

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace cueify::test {

using namespace wavefile;

namespace fs = std::filesystem;
using namespace std::string_literals;

using discgeometry::kRawSectorBytes;

// Little-endian 16-bit stereo samples, each channel its own tone under noise, so that every
// sample frame differs from its neighbours and a misplaced byte shows.
inline std::string cdSamples(uint32_t sampleFrames)
{
    std::minstd_rand noise(sampleFrames);
    std::string bytes;
    bytes.reserve(size_t{sampleFrames} * 4);
    for (uint32_t i = 0; i < sampleFrames; ++i) {
        for (int channel = 0; channel < 2; ++channel) {
            const int tone = static_cast<int>((i * (channel + 3) * 37) % 8000) - 4000;
            const auto value = static_cast<uint16_t>(tone + static_cast<int>(noise() % 512));
            bytes += static_cast<char>(value & 0xFF);
            bytes += static_cast<char>(value >> 8);
        }
    }
    return bytes;
}

// Encodes CD samples into a file of that name with the given ffmpeg output options.
inline fs::path encode(const testsupport::ScratchDirectory& scratch, const std::string& samples,
                       const std::string& name, const std::string& options)
{
    return encodeFile(scratch.write(name + ".raw", samples), scratch.path() / name, options);
}

// The bytes of a data file from offset on, or "read failed".
inline std::string readBytes(DataFile& file, uint64_t offset, size_t length)
{
    std::string bytes(length, '\0');
    return file.read(offset, reinterpret_cast<uint8_t*>(bytes.data()), length) ? bytes : "read failed";
}

// Reads the whole file in order, a sector at a time and the rest at the end.
inline std::string readInOrder(DataFile& file)
{
    std::string bytes;
    for (uint64_t offset = 0; offset < file.size(); offset += kRawSectorBytes)
        bytes += readBytes(file, offset, std::min<uint64_t>(kRawSectorBytes, file.size() - offset));
    return bytes;
}

// The reason of the Failure openDataFile throws, or "opened".
inline std::string refusal(const fs::path& path, DataFileType type = DataFileType::Audio)
{
    try {
        openDataFile(path, type, path.filename().string());
        return "opened";
    } catch (const Failure& error) {
        return error.what();
    }
}

} // namespace cueify::test
