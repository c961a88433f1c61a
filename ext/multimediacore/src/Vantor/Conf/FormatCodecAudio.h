// The audio stream description behind IFormatCodecAudio::Create.
#pragma once

#include "Vantor/Conf/IFormatCodecAudio.h"

namespace Vantor {
namespace Conf {

class FormatCodecAudio final : public RefCounted<IFormatCodecAudio>
{
public:
    FormatCodecAudio() = default;

    Core::Property& GetProperty() override { return m_property; }
    const Core::Property& GetProperty() const override { return m_property; }

    Core::Property GetStreamSettings() const override { return m_streamSettings; }
    void SetStreamSettings(const Core::Property& settings) override { m_streamSettings = settings; }

    void SetChannelLayout(ChannelLayout layout) override;
    ChannelLayout GetChannelLayout() const override { return m_channelLayout; }
    void SetSampleFormat(SampleFormats format) override;
    SampleFormats GetSampleFormat() const override { return m_sampleFormat; }

private:
    Core::Property m_property;
    Core::Property m_streamSettings;
    ChannelLayout m_channelLayout = CHANNEL_LAYOUT_UNKNOWN;
    SampleFormats m_sampleFormat = SAMPLE_FORMAT_UNKNOWN;
};

} // namespace Conf
} // namespace Vantor
