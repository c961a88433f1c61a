// One audio stream of a file decoded by libavformat and libavcodec into CD samples
// (16-bit little-endian, two channels interleaved), one decoded frame at a time, each placed
// by its timestamp. Not thread-safe: its owner serializes the calls.
#pragma once

#include "image/FfmpegOwners.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace cueify {

class AudioDecoder
{
public:
    // Throws Failure (CUEIFY_ERR_NO_DEVICE) when the file is no audio FFmpeg reads, its codec is lossy, or
    // its samples are not in a CD's format.
    explicit AudioDecoder(const std::filesystem::path& path);

    // The stream's length in sample frames when its header gives it exactly.
    std::optional<uint64_t> declaredSampleFrames() const noexcept;

    // Decodes the frame after the current one; false at the end of the stream or on any failure.
    bool decodeNext() noexcept;

    // True once decodeNext has returned false because the stream ended, not because it failed.
    bool atEnd() const noexcept { return m_atEnd; }

    // Moves to a keyframe at or before sample, as the demuxer finds it; decodeNext then gives the
    // frame there. False when the demuxer cannot seek there; decodeNext then fails until a seek
    // succeeds. A search may fail for one target and succeed for an earlier one.
    bool seekBefore(uint64_t sample) noexcept;

    // The current frame: its first sample frame from the stream's start, and its bytes.
    uint64_t frameStart() const noexcept { return m_frameStart; }
    const uint8_t* frameBytes() const noexcept { return m_frameBytes; }
    size_t frameByteCount() const noexcept { return m_frameByteCount; }

private:
    bool sendNextPacket() noexcept;
    bool takeFrame() noexcept;

    FormatContextOwner m_format;
    AVStream* m_stream = nullptr; // owned by m_format
    CodecContextOwner m_codec;
    PacketOwner m_packet;
    FrameOwner m_frame;
    int64_t m_startTime = 0; // of the stream, in its time base
    uint64_t m_frameStart = 0;
    const uint8_t* m_frameBytes = nullptr;
    size_t m_frameByteCount = 0;
    bool m_positionKnown = true; // false after a seek, until a frame carries a timestamp
    bool m_atEnd = false;
    bool m_lost = false;                // after a seek that failed, until one succeeds
    std::vector<uint8_t> m_interleaved; // the current frame, when the decoder gives planar samples
};

} // namespace cueify
