#include "image/AudioDecoder.h"

#include "core/Failure.h"
#include "image/CdAudioFormat.h"

#include <algorithm>
#include <new>
#include <string>

namespace cueify {
namespace {

constexpr AVRational kSampleTimeBase{1, static_cast<int>(kCdSampleRate)};

// Below this, libavformat guessed the format from little more than the file's name.
constexpr int kLeastProbeScore = AVPROBE_SCORE_RETRY;

FormatContextOwner openInput(const std::filesystem::path& path)
{
    AVFormatContext* raw = nullptr; // freed by avformat_open_input when it fails
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not a known audio format");
    FormatContextOwner format(raw);
    if (format->probe_score < kLeastProbeScore || avformat_find_stream_info(format.get(), nullptr) < 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not a known audio format");
    return format;
}

std::string codecName(AVCodecID id)
{
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
    return descriptor ? descriptor->name : "unknown codec";
}

// Lossless decoding is what makes a data file stand for a disc's sectors.
void requireLossless(AVCodecID id)
{
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
    if (!descriptor || (descriptor->props & AV_CODEC_PROP_LOSSLESS) == 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not lossless (" + codecName(id) + ")");
}

uint32_t bitsOf(const AVCodecParameters& parameters)
{
    if (parameters.bits_per_raw_sample > 0)
        return static_cast<uint32_t>(parameters.bits_per_raw_sample);
    const int bytes = av_get_bytes_per_sample(static_cast<AVSampleFormat>(parameters.format));
    // A stream whose sample size shows only once decoded is checked frame by frame.
    return bytes > 0 ? static_cast<uint32_t>(bytes) * 8 : kCdBitsPerSample;
}

AVStream* findAudioStream(AVFormatContext& format, const AVCodec*& decoder)
{
    const int index = av_find_best_stream(&format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "no audio stream");
    AVStream* stream = format.streams[index];
    const AVCodecParameters& parameters = *stream->codecpar;
    requireLossless(parameters.codec_id);
    requireCdAudio({static_cast<uint32_t>(parameters.sample_rate), bitsOf(parameters),
                    static_cast<uint32_t>(parameters.ch_layout.nb_channels)});
    decoder = avcodec_find_decoder(parameters.codec_id);
    if (!decoder)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "no decoder for " + codecName(parameters.codec_id));
    return stream;
}

CodecContextOwner openCodec(const AVCodec& decoder, const AVStream& stream)
{
    CodecContextOwner codec(avcodec_alloc_context3(&decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream.codecpar) < 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "cannot set up the decoder for " + codecName(decoder.id));
    codec->thread_count = 1; // a device reads one sector at a time; frames are small
    codec->pkt_timebase = stream.time_base;
    if (avcodec_open2(codec.get(), &decoder, nullptr) < 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "cannot open the decoder for " + codecName(decoder.id));
    return codec;
}

template <class Owner> Owner allocated(typename Owner::pointer object)
{
    if (!object)
        throw std::bad_alloc();
    return Owner(object);
}

bool isCdFrame(const AVFrame& frame) noexcept
{
    return (frame.format == AV_SAMPLE_FMT_S16 || frame.format == AV_SAMPLE_FMT_S16P) &&
           frame.ch_layout.nb_channels == static_cast<int>(kCdChannels) &&
           frame.sample_rate == static_cast<int>(kCdSampleRate) && frame.nb_samples > 0;
}

} // namespace

AudioDecoder::AudioDecoder(const std::filesystem::path& path) : m_format(openInput(path))
{
    const AVCodec* decoder = nullptr;
    m_stream = findAudioStream(*m_format, decoder);
    m_codec = openCodec(*decoder, *m_stream);
    m_packet = allocated<PacketOwner>(av_packet_alloc());
    m_frame = allocated<FrameOwner>(av_frame_alloc());
    m_startTime = m_stream->start_time == AV_NOPTS_VALUE ? 0 : m_stream->start_time;
}

std::optional<uint64_t> AudioDecoder::declaredSampleFrames() const noexcept
{
    const bool exact = av_cmp_q(m_stream->time_base, kSampleTimeBase) == 0 &&
                       m_stream->duration != AV_NOPTS_VALUE && m_stream->duration > 0 &&
                       m_format->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE;
    return exact ? std::optional<uint64_t>(static_cast<uint64_t>(m_stream->duration)) : std::nullopt;
}

bool AudioDecoder::decodeNext() noexcept
{
    if (m_lost)
        return false;
    for (;;) {
        const int received = avcodec_receive_frame(m_codec.get(), m_frame.get());
        if (received == 0)
            return takeFrame();
        m_atEnd = received == AVERROR_EOF;
        if (received != AVERROR(EAGAIN) || !sendNextPacket())
            return false;
    }
}

bool AudioDecoder::seekBefore(uint64_t sample) noexcept
{
    const int64_t target =
        m_startTime + av_rescale_q(static_cast<int64_t>(sample), kSampleTimeBase, m_stream->time_base);
    const bool sought = av_seek_frame(m_format.get(), m_stream->index, target, AVSEEK_FLAG_BACKWARD) >= 0;
    // A search that fails part way leaves the file at whatever point it last probed, so neither
    // the frame held nor the frames after it may be taken as where the decoder is; only another
    // seek that succeeds places it again.
    avcodec_flush_buffers(m_codec.get());
    m_positionKnown = false;
    m_atEnd = false;
    m_frameByteCount = 0;
    m_lost = !sought;
    return sought;
}

bool AudioDecoder::sendNextPacket() noexcept
{
    for (;;) {
        const int read = av_read_frame(m_format.get(), m_packet.get());
        if (read == AVERROR_EOF)
            return avcodec_send_packet(m_codec.get(), nullptr) == 0; // drain what the decoder holds
        if (read < 0)
            return false;
        if (m_packet->stream_index == m_stream->index) {
            const int sent = avcodec_send_packet(m_codec.get(), m_packet.get());
            av_packet_unref(m_packet.get());
            return sent == 0;
        }
        av_packet_unref(m_packet.get());
    }
}

bool AudioDecoder::takeFrame() noexcept
{
    if (!isCdFrame(*m_frame))
        return false;
    const int64_t timestamp = m_frame->best_effort_timestamp;
    if (timestamp != AV_NOPTS_VALUE) {
        const int64_t start = av_rescale_q(timestamp - m_startTime, m_stream->time_base, kSampleTimeBase);
        m_frameStart = static_cast<uint64_t>(std::max<int64_t>(start, 0));
        m_positionKnown = true;
    } else if (m_positionKnown) {
        m_frameStart += m_frameByteCount / kCdBytesPerSampleFrame;
    } else {
        return false; // after a seek, only a timestamp says where the decoder is
    }
    const auto samples = static_cast<size_t>(m_frame->nb_samples);
    m_frameByteCount = samples * kCdBytesPerSampleFrame;
    if (m_frame->format == AV_SAMPLE_FMT_S16) {
        m_frameBytes = m_frame->data[0];
        return true;
    }
    // Planar samples are interleaved as they are: 16-bit samples in the host's order, which is the
    // sectors' little-endian order on every host this library builds for.
    m_interleaved.resize(m_frameByteCount);
    const auto* left = reinterpret_cast<const int16_t*>(m_frame->data[0]);
    const auto* right = reinterpret_cast<const int16_t*>(m_frame->data[1]);
    auto* out = reinterpret_cast<int16_t*>(m_interleaved.data());
    for (size_t i = 0; i < samples; ++i) {
        out[2 * i] = left[i];
        out[2 * i + 1] = right[i];
    }
    m_frameBytes = m_interleaved.data();
    return true;
}

} // namespace cueify
