#include "Vantor/Conf/IFormatCodec.h"

namespace Vantor {
namespace Conf {

const std::string IFormatCodec::TAG_STREAM_ID = "stream_id";
const std::string IFormatCodec::TAG_CODEC_ID = "codec_id";
const std::string IFormatCodec::TAG_CONTAINER_NAME = "container_name";
const std::string IFormatCodec::TAG_GLOBAL_HEADER = "global_header";
const std::string IFormatCodec::TAG_BITRATE_MODE = "bitrate_mode";
const std::string IFormatCodec::TAG_BITRATE = "bitrate";
const std::string IFormatCodec::TAG_MAIN_STREAM = "main_stream";
const std::string IFormatCodec::TAG_DEFAULT_STREAM = "default_stream";

const std::string IFormatCodec::TAG_BITRATE_MODE_CBR = "cbr";
const std::string IFormatCodec::TAG_BITRATE_MODE_VBR = "vbr";

} // namespace Conf
} // namespace Vantor
