// Writes CD audio (PCM signed 16-bit little-endian, 44.1 kHz, stereo) into an audio file
// through FFmpeg's muxers; compressed formats go through FFmpeg's encoders first.
#pragma once

#include "OutputFormat.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

namespace vantorcd {

// Metadata the container stores in its header, by FFmpeg's key names ("title", "track", ...).
using AudioTags = std::vector<std::pair<std::string, std::string>>;

class AudioFileWriter
{
public:
    // Opens path, a new empty file, and writes the file header with the tags. Errors name
    // shownName, the file the user asked for. Throws OutputError when a system call fails, with
    // its reason, and UserError when FFmpeg refuses the file.
    AudioFileWriter(const std::filesystem::path& path, const OutputFormat& format, std::string shownName,
                    const AudioTags& tags = {});
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // Appends whole stereo frames (size a multiple of 4). Throws as the constructor.
    void write(const uint8_t* pcm, size_t size);

    // Encodes what is left, writes the trailer and closes the file. Throws as the constructor.
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

    struct FrameFree
    {
        void operator()(AVFrame* frame) const noexcept;
    };

    // How the track's samples reach the muxer.
    enum class Route
    {
        AsTheyAre,   // the file holds little-endian PCM
        ByteSwapped, // the file holds big-endian PCM
        Encoded      // through the encoder, a whole frame at a time
    };

    void openEncoder(const OutputFormat& format);
    void allocateFrame();
    void openOutput(const std::filesystem::path& path, const AudioTags& tags);
    void writePcm(const uint8_t* pcm, size_t size);
    void writePending();
    void writePcmPacket(const uint8_t* pcm, size_t size);
    void fillFrames(const uint8_t* pcm, size_t size);
    void sendFrame();
    void drainEncoder();
    void writePacket();
    void check(int result, const char* step) const;

    std::string m_shownName;
    std::unique_ptr<AVFormatContext, FormatClose> m_format;
    std::unique_ptr<AVCodecContext, CodecFree> m_codec;
    std::unique_ptr<AVPacket, PacketFree> m_packet;
    Route m_route = Route::Encoded;
    std::unique_ptr<AVFrame, FrameFree> m_frame; // the encoder's input, refilled; Encoded only
    size_t m_frameBytes = 0;
    size_t m_frameFill = 0;         // bytes of m_frame filled so far
    std::vector<uint8_t> m_pending; // PCM gathered into a write; AsTheyAre and ByteSwapped only
    int64_t m_nextPts = 0;
};

} // namespace vantorcd
