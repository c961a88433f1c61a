#include "AudioFileWriter.h"

#include "UserError.h"

#include <discgeometry/DiscGeometry.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cstring>

namespace vantorcd {
namespace {

using discgeometry::kSampleRate;
constexpr int kChannels = 2;
constexpr size_t kBytesPerFrame = 4;
// Encoders that take any frame size get eight CD sectors at a time.
constexpr int kVariableFrameSamples = 8 * discgeometry::kSamplesPerSector;

std::string errorText(int result)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(result, text, sizeof text);
    return text;
}

// The file protocol's options for the new, empty output file:
// - truncate: truncating it anyway marks it, on ext4, as a file replaced by truncation, and
//   closing it then writes the whole file back on the spot.
// - blocksize: the page cache gives each write() folios of about its size. Copying into the large
//   folios of FFmpeg's 256 KiB writes took, on a virtual machine, some ten times as long as into
//   small ones: about a second of kernel time for a whole disc. From 64 KiB on the cost shows;
//   16 KiB writes keep it away, at 48,000 write calls a disc instead of 3,000.
const char* const kFileOptions[][2] = {{"truncate", "0"}, {"blocksize", "16384"}};

int openForWriting(AVIOContext** context, const std::string& url)
{
    AVDictionary* options = nullptr;
    int result = 0;
    for (const auto& option : kFileOptions) {
        if (result >= 0)
            result = av_dict_set(&options, option[0], option[1], 0);
    }
    if (result >= 0)
        result = avio_open2(context, url.c_str(), AVIO_FLAG_WRITE, nullptr, &options);
    av_dict_free(&options);
    return result;
}

// Whole 16-bit values, so that the compiler turns the loop into vector shifts; swapping byte by
// byte it does not, and takes eight times as long.
void swapByteOrder(const uint8_t* from, uint8_t* to, size_t size) noexcept
{
    for (size_t i = 0; i + 1 < size; i += 2) {
        uint16_t value;
        std::memcpy(&value, from + i, sizeof value);
        value = static_cast<uint16_t>(value << 8 | value >> 8);
        std::memcpy(to + i, &value, sizeof value);
    }
}

} // namespace

void AudioFileWriter::FormatClose::operator()(AVFormatContext* context) const noexcept
{
    if (context->pb)
        avio_closep(&context->pb);
    avformat_free_context(context);
}

void AudioFileWriter::CodecFree::operator()(AVCodecContext* context) const noexcept
{
    avcodec_free_context(&context);
}

void AudioFileWriter::PacketFree::operator()(AVPacket* packet) const noexcept
{
    av_packet_free(&packet);
}

void AudioFileWriter::FrameFree::operator()(AVFrame* frame) const noexcept
{
    av_frame_free(&frame);
}

AudioFileWriter::AudioFileWriter(const std::filesystem::path& path, const OutputFormat& format,
                                 std::string shownName, const AudioTags& tags)
    : m_shownName(std::move(shownName)), m_packet(av_packet_alloc())
{
    AVFormatContext* context = nullptr;
    check(avformat_alloc_output_context2(&context, nullptr, format.muxerName, nullptr),
          "set up the container");
    m_format.reset(context);
    m_format->flags |= AVFMT_FLAG_BITEXACT;
    if (!m_packet)
        throw UserError("out of memory");
    openEncoder(format);
    openOutput(path, tags);
}

AudioFileWriter::~AudioFileWriter() = default;

void AudioFileWriter::openEncoder(const OutputFormat& format)
{
    const AVCodec* encoder = avcodec_find_encoder_by_name(format.encoderName);
    if (!encoder)
        throw UserError(std::string("cannot write ") + m_shownName + ": this FFmpeg has no " +
                        format.encoderName + " encoder");
    m_codec.reset(avcodec_alloc_context3(encoder));
    if (!m_codec)
        throw UserError("out of memory");
    m_codec->sample_fmt = AV_SAMPLE_FMT_S16;
    m_codec->sample_rate = kSampleRate;
    av_channel_layout_default(&m_codec->ch_layout, kChannels);
    m_codec->time_base = AVRational{1, static_cast<int>(kSampleRate)};
    m_codec->flags |= AV_CODEC_FLAG_BITEXACT;
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(m_codec.get(), encoder, nullptr), "open the encoder");
    // The PCM encoders only copy or byte-swap: the samples skip them and go straight to the
    // muxer, a chunk a packet, with no frame to fill and no encoded copy to make.
    if (m_codec->codec_id == AV_CODEC_ID_PCM_S16LE)
        m_route = Route::AsTheyAre;
    else if (m_codec->codec_id == AV_CODEC_ID_PCM_S16BE)
        m_route = Route::ByteSwapped;
    else
        allocateFrame();
}

void AudioFileWriter::allocateFrame()
{
    const int frameSamples = m_codec->frame_size > 0 ? m_codec->frame_size : kVariableFrameSamples;
    m_frameBytes = static_cast<size_t>(frameSamples) * kBytesPerFrame;
    m_frame.reset(av_frame_alloc());
    if (!m_frame)
        throw UserError("out of memory");
    m_frame->nb_samples = frameSamples;
    m_frame->format = m_codec->sample_fmt;
    m_frame->sample_rate = m_codec->sample_rate;
    if (av_channel_layout_copy(&m_frame->ch_layout, &m_codec->ch_layout) < 0 ||
        av_frame_get_buffer(m_frame.get(), 0) < 0)
        throw UserError("out of memory");
}

void AudioFileWriter::openOutput(const std::filesystem::path& path, const AudioTags& tags)
{
    for (const auto& [key, value] : tags)
        check(av_dict_set(&m_format->metadata, key.c_str(), value.c_str(), 0), "set the tags");
    AVStream* stream = avformat_new_stream(m_format.get(), nullptr);
    if (!stream)
        throw UserError("out of memory");
    stream->time_base = m_codec->time_base;
    check(avcodec_parameters_from_context(stream->codecpar, m_codec.get()), "describe the stream");
    // The "file:" protocol keeps FFmpeg from reading a protocol name into a path with a colon.
    check(openForWriting(&m_format->pb, "file:" + path.string()), "open the file");
    check(avformat_write_header(m_format.get(), nullptr), "write the header");
}

void AudioFileWriter::write(const uint8_t* pcm, size_t size)
{
    if (m_route == Route::Encoded)
        fillFrames(pcm, size);
    else
        writePcm(pcm, size);
}

void AudioFileWriter::finish()
{
    if (m_route == Route::Encoded) {
        if (m_frameFill > 0)
            sendFrame();
        check(avcodec_send_frame(m_codec.get(), nullptr), "flush the encoder");
        drainEncoder();
    }
    check(av_write_trailer(m_format.get()), "finish the file");
    check(m_format->pb->error, "write the file");
    check(avio_closep(&m_format->pb), "close the file");
}

void AudioFileWriter::writePcm(const uint8_t* pcm, size_t size)
{
    if (m_route == Route::ByteSwapped) {
        m_swapped.resize(size);
        swapByteOrder(pcm, m_swapped.data(), size);
        pcm = m_swapped.data();
    }
    const auto samples = static_cast<int64_t>(size / kBytesPerFrame);
    // The muxer copies the bytes into its output buffer; the packet only lends them.
    m_packet->data = const_cast<uint8_t*>(pcm);
    m_packet->size = static_cast<int>(size);
    m_packet->pts = m_nextPts;
    m_packet->dts = m_nextPts;
    m_packet->duration = samples;
    m_packet->flags = AV_PKT_FLAG_KEY;
    m_nextPts += samples;
    writePacket();
    av_packet_unref(m_packet.get());
}

void AudioFileWriter::fillFrames(const uint8_t* pcm, size_t size)
{
    while (size > 0) {
        // The encoder may still hold the last frame sent; it then gets a buffer of its own.
        if (m_frameFill == 0)
            check(av_frame_make_writable(m_frame.get()), "encode the audio");
        const size_t taken = std::min(size, m_frameBytes - m_frameFill);
        std::memcpy(m_frame->data[0] + m_frameFill, pcm, taken);
        m_frameFill += taken;
        pcm += taken;
        size -= taken;
        if (m_frameFill == m_frameBytes)
            sendFrame();
    }
}

void AudioFileWriter::sendFrame()
{
    const auto samples = static_cast<int>(m_frameFill / kBytesPerFrame);
    m_frame->nb_samples = samples;
    m_frame->pts = m_nextPts;
    m_nextPts += samples;
    m_frameFill = 0;
    check(avcodec_send_frame(m_codec.get(), m_frame.get()), "encode the audio");
    drainEncoder();
}

void AudioFileWriter::drainEncoder()
{
    for (;;) {
        const int result = avcodec_receive_packet(m_codec.get(), m_packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return;
        check(result, "encode the audio");
        writePacket();
    }
}

void AudioFileWriter::writePacket()
{
    m_packet->stream_index = 0;
    av_packet_rescale_ts(m_packet.get(), m_codec->time_base, m_format->streams[0]->time_base);
    check(av_write_frame(m_format.get(), m_packet.get()), "write the file");
}

void AudioFileWriter::check(int result, const char* step) const
{
    if (result < 0)
        throw UserError("cannot write " + m_shownName + ": failed to " + step + ": " + errorText(result));
}

} // namespace vantorcd
