// Feeds arbitrary bytes as an audio data file to the WAVE and AIFF header readers. Whatever the
// bytes, the open either throws Failure or gives a file no larger than the input whose reads
// stay inside it. Inputs that are neither would go to FFmpeg's decoders, which are not ours to fuzz.
#include "ScratchDirectory.h"

#include "core/Failure.h"
#include "image/AiffFormat.h"
#include "image/DataFile.h"
#include "image/WaveFormat.h"

#include <discgeometry/DiscGeometry.h>

#include <array>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const testsupport::ScratchDirectory scratch;
    const std::filesystem::path path = scratch.path() / "input";
    if (!std::ofstream(path, std::ios::binary | std::ios::trunc)
             .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size)))
        __builtin_trap();
    {
        const cueify::FileDescriptor file = cueify::FileDescriptor::openRegularFile(path, "input");
        if (!cueify::isRiffWave(file) && !cueify::isAiff(file))
            return 0;
    }
    try {
        const auto file = cueify::openDataFile(path, cueify::DataFileType::Audio, "input");
        std::array<uint8_t, discgeometry::kRawSectorBytes> sector{};
        if (file->size() > size)
            __builtin_trap();
        for (uint64_t offset = 0; offset < file->size(); offset += sector.size()) {
            const auto length = static_cast<size_t>(std::min<uint64_t>(sector.size(), file->size() - offset));
            if (!file->read(offset, sector.data(), length))
                __builtin_trap();
        }
        if (file->read(file->size(), sector.data(), 1))
            __builtin_trap();
    } catch (const cueify::Failure&) {
    }
    return 0;
}
