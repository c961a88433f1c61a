#include "AudioDecoding.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstring>
#include <memory>
#include <stdexcept>

#include "TempDirectory.h"

namespace vantorcd::test {
namespace {

struct InputClose
{
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFree
{
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFree
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFree
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

void check(int result, const char* what)
{
    if (result < 0)
        throw std::runtime_error(std::string("cannot ") + what);
}

std::unique_ptr<AVFormatContext, InputClose> openInput(const std::filesystem::path& path)
{
    AVFormatContext* context = nullptr;
    check(avformat_open_input(&context, path.c_str(), nullptr, nullptr), "open the file");
    std::unique_ptr<AVFormatContext, InputClose> owner(context);
    check(avformat_find_stream_info(context, nullptr), "read the stream information");
    if (context->nb_streams != 1)
        throw std::runtime_error("expected one stream");
    return owner;
}

std::unique_ptr<AVCodecContext, CodecFree> openDecoder(const AVStream& stream)
{
    const AVCodec* decoder = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!decoder)
        throw std::runtime_error("no decoder");
    std::unique_ptr<AVCodecContext, CodecFree> codec(avcodec_alloc_context3(decoder));
    check(avcodec_parameters_to_context(codec.get(), stream.codecpar), "set up the decoder");
    check(avcodec_open2(codec.get(), decoder, nullptr), "open the decoder");
    return codec;
}

void appendFrames(AVCodecContext& codec, AVFrame& frame, std::vector<uint8_t>& pcm)
{
    while (avcodec_receive_frame(&codec, &frame) == 0) {
        if (frame.format != AV_SAMPLE_FMT_S16)
            throw std::runtime_error("not interleaved 16-bit samples");
        const size_t bytes = static_cast<size_t>(frame.nb_samples) * frame.ch_layout.nb_channels * 2;
        pcm.insert(pcm.end(), frame.data[0], frame.data[0] + bytes);
    }
}

uint32_t littleEndian32(const std::vector<uint8_t>& bytes, size_t offset)
{
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           uint32_t{bytes[offset + 3]} << 24;
}

} // namespace

DecodedAudio decodeAudioFile(const std::filesystem::path& path)
{
    const auto input = openInput(path);
    const auto codec = openDecoder(*input->streams[0]);
    const std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    const std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    DecodedAudio audio{
        input->iformat->name, codec->codec->name, codec->sample_rate, codec->ch_layout.nb_channels, {}};
    while (av_read_frame(input.get(), packet.get()) == 0) {
        check(avcodec_send_packet(codec.get(), packet.get()), "decode");
        av_packet_unref(packet.get());
        appendFrames(*codec, *frame, audio.pcm);
    }
    check(avcodec_send_packet(codec.get(), nullptr), "flush the decoder");
    appendFrames(*codec, *frame, audio.pcm);
    return audio;
}

std::vector<uint8_t> waveDataChunk(const std::filesystem::path& path)
{
    const std::vector<uint8_t> bytes = readBytes(path);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(&bytes[8], "WAVE", 4) != 0)
        throw std::runtime_error("not a RIFF WAVE file");
    for (size_t offset = 12; offset + 8 <= bytes.size();) {
        const uint32_t size = littleEndian32(bytes, offset + 4);
        if (std::memcmp(&bytes[offset], "data", 4) == 0 && offset + 8 + size <= bytes.size())
            return {bytes.begin() + static_cast<long>(offset) + 8,
                    bytes.begin() + static_cast<long>(offset + 8 + size)};
        offset += 8 + size + (size & 1);
    }
    throw std::runtime_error("no data chunk");
}

} // namespace vantorcd::test
