// Feeds arbitrary bytes as an audio data file to the WAVE and AIFF header readers. Whatever the
// bytes, the open either throws Failure or gives a file no larger than the input whose reads
// stay inside it. Inputs that are neither would go to FFmpeg's decoders, which are not ours to fuzz.
#include "ScratchDirectory.h"

#include "core/Failure.h"
#include "image/AiffFormat.h"
#include "image/DataFile.h"
#include "image/WaveFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <discgeometry/DiscGeometry.h>
#include <fstream>

namespace {

const testsupport::ScratchDirectory& scratch()
{
    static const testsupport::ScratchDirectory instance;
    return instance;
}

std::filesystem::path writeInput(const uint8_t* data, size_t size)
{
    const std::filesystem::path path = scratch().path() / "input";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        __builtin_trap();
    return path;
}

bool isWaveOrAiff(const std::filesystem::path& path)
{
    const cueify::FileDescriptor file = cueify::FileDescriptor::openRegularFile(path, "input");
    return cueify::isRiffWave(file) || cueify::isAiff(file);
}

void readAll(cueify::DataFile& file, size_t inputBytes)
{
    if (file.size() > inputBytes)
        __builtin_trap();
    std::array<uint8_t, discgeometry::kRawSectorBytes> sector{};
    for (uint64_t offset = 0; offset < file.size(); offset += sector.size()) {
        const size_t length = static_cast<size_t>(std::min<uint64_t>(sector.size(), file.size() - offset));
        if (!file.read(offset, sector.data(), length))
            __builtin_trap();
    }
    if (file.read(file.size(), sector.data(), 1))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::filesystem::path path = writeInput(data, size);
    if (!isWaveOrAiff(path))
        return 0;
    try {
        readAll(*cueify::openDataFile(path, cueify::DataFileType::Audio, "input"), size);
    } catch (const cueify::Failure&) {
    }
    return 0;
}
