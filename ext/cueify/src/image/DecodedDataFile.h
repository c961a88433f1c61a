// An audio data file in any lossless format FFmpeg decodes (FLAC, WavPack, Monkey's Audio,
// ALAC, TTA, ...), read as the CD samples it decodes to. Reads in order are served from the
// frame the decoder holds and the frames after it; a read elsewhere seeks.
#pragma once

#include "image/AudioDecoder.h"
#include "image/DataFile.h"

#include <mutex>

namespace cueify {

class DecodedDataFile final : public DataFile
{
public:
    // Throws Failure (CUEIFY_ERR_NO_DEVICE) as AudioDecoder does, or when a stream of unknown length cannot
    // be decoded to its end.
    explicit DecodedDataFile(const std::filesystem::path& path);

    uint64_t size() const noexcept override { return m_bytes; }
    bool read(uint64_t offset, uint8_t* buffer, size_t length) noexcept override;

private:
    bool moveTo(uint64_t byte) noexcept;
    bool seekTo(uint64_t sample) noexcept;
    bool holds(uint64_t byte) const noexcept;

    std::mutex m_mutex; // guards m_decoder: several threads may read one device
    AudioDecoder m_decoder;
    uint64_t m_bytes = 0;
};

} // namespace cueify
