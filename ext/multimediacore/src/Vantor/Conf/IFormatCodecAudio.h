// The description of an audio stream.
#pragma once

#include "Vantor/Conf/IFormatCodec.h"

#include <cstdint>

namespace Vantor {
namespace Conf {

enum ChannelLayout : int32_t
{
    CHANNEL_LAYOUT_UNKNOWN = 0,
    CHANNEL_LAYOUT_MONO = 1,
    CHANNEL_LAYOUT_STEREO = 2
};

enum SampleFormats : int32_t
{
    SAMPLE_FORMAT_UNKNOWN = 0,
    SAMPLE_FORMAT_S16 = 1,
    SAMPLE_FORMAT_S32 = 2,
    SAMPLE_FORMAT_FLT = 3
};

class VANTOR_API IFormatCodecAudio : public IFormatCodec
{
public:
    // A new, empty description whose root property is a PROPERTY_TYPE_NODE.
    static SP<IFormatCodecAudio> Create();

    // Both setters also write the value into the root node (TAG_CHANNEL_LAYOUT, TAG_SAMPLE_FORMAT).
    virtual void SetChannelLayout(ChannelLayout layout) = 0;
    virtual ChannelLayout GetChannelLayout() const = 0;
    virtual void SetSampleFormat(SampleFormats format) = 0;
    virtual SampleFormats GetSampleFormat() const = 0;

    static const std::string TAG_FRAME_SIZE;
    static const std::string TAG_INITIAL_PADDING;
    static const std::string TAG_SAMPLE_RATE;
    static const std::string TAG_CHANNEL_LAYOUT;
    static const std::string TAG_SAMPLE_FORMAT;

    static const std::string CODEC_ID_PCM_S16LE;
};

} // namespace Conf
} // namespace Vantor
