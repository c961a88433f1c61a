// Owners of the FFmpeg objects a decoded data file holds, each freed by FFmpeg's own call.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

#include <memory>

namespace cueify {

struct FormatContextFree
{
    void operator()(AVFormatContext* context) const noexcept { avformat_close_input(&context); }
};

struct CodecContextFree
{
    void operator()(AVCodecContext* context) const noexcept { avcodec_free_context(&context); }
};

struct PacketFree
{
    void operator()(AVPacket* packet) const noexcept { av_packet_free(&packet); }
};

struct FrameFree
{
    void operator()(AVFrame* frame) const noexcept { av_frame_free(&frame); }
};

using FormatContextOwner = std::unique_ptr<AVFormatContext, FormatContextFree>;
using CodecContextOwner = std::unique_ptr<AVCodecContext, CodecContextFree>;
using PacketOwner = std::unique_ptr<AVPacket, PacketFree>;
using FrameOwner = std::unique_ptr<AVFrame, FrameFree>;

} // namespace cueify
