// Writes CD audio (PCM signed 16-bit little-endian, 44.1 kHz, stereo) into an audio file
// through FFmpeg's encoders and muxers.
#pragma once

#include "OutputFormat.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

namespace vantorcd {

class AudioFileWriter
{
public:
    // Opens path and writes the file header. Errors name shownName, the file the user asked for.
    // Throws UserError when the file cannot be written.
    AudioFileWriter(const std::filesystem::path& path, const OutputFormat& format, std::string shownName);
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // Appends whole stereo frames (size a multiple of 4). Throws UserError when writing fails.
    void write(const uint8_t* pcm, size_t size);

    // Encodes what is left, writes the trailer and closes the file. Throws UserError.
    void finish();

private:
    struct FormatClose
    {
        void operator()(AVFormatContext* context) const noexcept;
    };
    struct CodecFree
    {
        void operator()(AVCodecContext* context) const noexcept;
    };
    struct PacketFree
    {
        void operator()(AVPacket* packet) const noexcept;
    };

    void openEncoder(const OutputFormat& format);
    void openOutput(const std::filesystem::path& path);
    void encode(const uint8_t* pcm, int samples);
    void drainEncoder();
    void check(int result, const char* step) const;

    std::string m_shownName;
    std::unique_ptr<AVFormatContext, FormatClose> m_format;
    std::unique_ptr<AVCodecContext, CodecFree> m_codec;
    std::unique_ptr<AVPacket, PacketFree> m_packet;
    std::vector<uint8_t> m_pending;
    size_t m_frameBytes = 0;
    int64_t m_nextPts = 0;
};

} // namespace vantorcd
