#include "Vantor/Conf/IFormatCodecAudio.h"

#include "Vantor/Conf/FormatCodecAudio.h"

namespace Vantor {
namespace Conf {

SP<IFormatCodecAudio> IFormatCodecAudio::Create()
{
    return SP<IFormatCodecAudio>(new FormatCodecAudio());
}

const std::string IFormatCodecAudio::TAG_FRAME_SIZE = "frame_size";
const std::string IFormatCodecAudio::TAG_INITIAL_PADDING = "initial_padding";
const std::string IFormatCodecAudio::TAG_SAMPLE_RATE = "sample_rate";
const std::string IFormatCodecAudio::TAG_CHANNEL_LAYOUT = "channel_layout";
const std::string IFormatCodecAudio::TAG_SAMPLE_FORMAT = "sample_format";

const std::string IFormatCodecAudio::CODEC_ID_PCM_S16LE = "pcm_s16le";

} // namespace Conf
} // namespace Vantor
