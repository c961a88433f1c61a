#include "image/DecodedDataFile.h"

#include "core/Failure.h"
#include "image/CdAudioFormat.h"

#include <algorithm>
#include <cstring>

namespace cueify {
namespace {

// A read less than this far past the decoded frame decodes its way there rather than seek:
// seeking costs a search of the file and a frame decoded from its start anyway.
constexpr uint64_t kDecodeAheadSamples = uint64_t{2} * kCdSampleRate;

// The stream's length in sample frames. A container that does not give it exactly in units of
// 1/44,100 s (a bitrate estimate, a coarser time base) is decoded once to its end, because a
// length off by one sample would shift every sector cut from the file.
uint64_t sampleFramesOf(AudioDecoder& decoder)
{
    if (const std::optional<uint64_t> declared = decoder.declaredSampleFrames())
        return *declared;
    uint64_t end = 0;
    while (decoder.decodeNext())
        end =
            std::max<uint64_t>(end, decoder.frameStart() + decoder.frameByteCount() / kCdBytesPerSampleFrame);
    if (end == 0 || !decoder.atEnd() || !decoder.seekBefore(0))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "cannot be decoded to its end");
    return end;
}

} // namespace

DecodedDataFile::DecodedDataFile(const std::filesystem::path& path)
    : m_decoder(path), m_bytes(sampleFramesOf(m_decoder) * kCdBytesPerSampleFrame)
{
}

bool DecodedDataFile::read(uint64_t offset, uint8_t* buffer, size_t length) noexcept
{
    if (offset > m_bytes || length > m_bytes - offset)
        return false;
    const std::lock_guard<std::mutex> lock(m_mutex);
    while (length > 0) {
        if (!moveTo(offset))
            return false;
        const uint64_t inFrame = offset - m_decoder.frameStart() * kCdBytesPerSampleFrame;
        const size_t count = std::min<size_t>(length, m_decoder.frameByteCount() - inFrame);
        std::memcpy(buffer, m_decoder.frameBytes() + inFrame, count);
        buffer += count;
        offset += count;
        length -= count;
    }
    return true;
}

bool DecodedDataFile::holds(uint64_t byte) const noexcept
{
    const uint64_t start = m_decoder.frameStart() * kCdBytesPerSampleFrame;
    return byte >= start && byte - start < m_decoder.frameByteCount();
}

bool DecodedDataFile::moveTo(uint64_t byte) noexcept
{
    const uint64_t sample = byte / kCdBytesPerSampleFrame;
    const uint64_t frameEnd = m_decoder.frameStart() + m_decoder.frameByteCount() / kCdBytesPerSampleFrame;
    if (m_decoder.frameByteCount() == 0 || sample < m_decoder.frameStart() ||
        sample >= frameEnd + kDecodeAheadSamples) {
        if (!seekTo(sample))
            return false;
    }
    while (!holds(byte)) {
        if (!m_decoder.decodeNext() || m_decoder.frameStart() > sample)
            return false;
    }
    return true;
}

// Lands on a frame that starts at or before sample. A demuxer may land after the target (an
// index that rounds up, a coarse search), or fail to find it at all (a search of FLAC frames
// near the end of a file gives up when a probe finds no frame header), so it is asked for ever
// earlier points, down to the start.
bool DecodedDataFile::seekTo(uint64_t sample) noexcept
{
    for (uint64_t back = 0;; back = back == 0 ? kCdSampleRate : 2 * back) {
        const uint64_t target = sample > back ? sample - back : 0;
        if (m_decoder.seekBefore(target) && m_decoder.decodeNext() && m_decoder.frameStart() <= sample)
            return true;
        if (target == 0)
            return false;
    }
}

} // namespace cueify
