#include "Vantor/Conf/FormatCodecAudio.h"

namespace Vantor {
namespace Conf {

long FormatCodecAudio::AddRef() const
{
    return m_refCount.AddRefImpl();
}

long FormatCodecAudio::GetRefCount() const
{
    return m_refCount.GetRefCountImpl();
}

long FormatCodecAudio::Release() const
{
    const long left = m_refCount.ReleaseImpl();
    if (left == 0)
        delete this;
    return left;
}

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
