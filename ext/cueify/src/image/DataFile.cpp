#include "image/DataFile.h"

#include "image/ImageError.h"
#include "image/RawDataFile.h"
#include "image/WaveFormat.h"

namespace cueify {

std::unique_ptr<DataFile> openDataFile(const std::filesystem::path& path, DataFileType type,
                                       const std::string& displayName)
{
    FileDescriptor file = FileDescriptor::openRegularFile(path, displayName);
    switch (type) {
    case DataFileType::Binary:
    case DataFileType::Motorola: {
        const uint64_t bytes = file.size();
        const auto order = type == DataFileType::Motorola ? SampleOrder::Swapped : SampleOrder::AsStored;
        return std::make_unique<RawDataFile>(std::move(file), 0, bytes, order);
    }
    case DataFileType::Audio:
        break;
    }
    PcmData samples;
    try {
        samples = findCdAudioSamples(file);
    } catch (const ImageError& error) {
        throw ImageError("'" + displayName + "': " + error.what());
    }
    return std::make_unique<RawDataFile>(std::move(file), samples.offset, samples.bytes,
                                         SampleOrder::AsStored);
}

} // namespace cueify
