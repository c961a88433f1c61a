#include "Vantor/Conf/FormatCodecAudio.h"

namespace Vantor {
namespace Conf {

// The root node mirrors both settings, so hosts that read only the property tree see them.
void FormatCodecAudio::SetChannelLayout(ChannelLayout layout)
{
    m_property.SetChildT<long long>(TAG_CHANNEL_LAYOUT, layout);
    m_channelLayout = layout;
}

void FormatCodecAudio::SetSampleFormat(SampleFormats format)
{
    m_property.SetChildT<long long>(TAG_SAMPLE_FORMAT, format);
    m_sampleFormat = format;
}

} // namespace Conf
} // namespace Vantor
