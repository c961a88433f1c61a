#include "image/DataFile.h"

#include "core/Failure.h"
#include "image/AiffFormat.h"
#include "image/DecodedDataFile.h"
#include "image/RawDataFile.h"
#include "image/WaveFormat.h"

namespace cueify {
namespace {

// WAVE and AIFF samples are read as they lie in the file; everything else goes through a decoder.
std::unique_ptr<DataFile> openAudioFile(const std::filesystem::path& path, FileDescriptor file)
{
    if (isRiffWave(file) || isAiff(file)) {
        const PcmData samples = isRiffWave(file) ? findWaveSamples(file) : findAiffSamples(file);
        return std::make_unique<RawDataFile>(std::move(file), samples.offset, samples.bytes, samples.order);
    }
    return std::make_unique<DecodedDataFile>(path);
}

} // namespace

std::unique_ptr<DataFile> openDataFile(const std::filesystem::path& path, DataFileType type,
                                       const std::string& displayName)
{
    FileDescriptor file = FileDescriptor::openRegularFile(path, displayName);
    if (type != DataFileType::Audio) {
        const uint64_t bytes = file.size();
        const auto order = type == DataFileType::Motorola ? SampleOrder::Swapped : SampleOrder::AsStored;
        return std::make_unique<RawDataFile>(std::move(file), 0, bytes, order);
    }
    try {
        return openAudioFile(path, std::move(file));
    } catch (const Failure& error) {
        throw error.within("'" + displayName + "': ");
    }
}

} // namespace cueify
