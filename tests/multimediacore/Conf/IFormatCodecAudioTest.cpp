#include "Vantor/Conf/IFormatCodecAudio.h"

#include <gtest/gtest.h>

#include <set>

using Vantor::Conf::IFormatCodec;
using Vantor::Conf::IFormatCodecAudio;

TEST(IFormatCodecAudio, CreateGivesAnEmptyNodeAndUnknownSettings)
{
    const Vantor::SP<IFormatCodecAudio> codec = IFormatCodecAudio::Create();
    EXPECT_EQ(codec->GetRefCount(), 1);
    EXPECT_EQ(codec->GetProperty().GetType(), Vantor::PROPERTY_TYPE_NODE);
    EXPECT_TRUE(codec->GetProperty().GetChildren().empty());
    EXPECT_EQ(codec->GetChannelLayout(), Vantor::Conf::CHANNEL_LAYOUT_UNKNOWN);
    EXPECT_EQ(codec->GetSampleFormat(), Vantor::Conf::SAMPLE_FORMAT_UNKNOWN);
}

TEST(IFormatCodecAudio, LayoutAndSampleFormatAreMirroredIntoTheRoot)
{
    const Vantor::SP<IFormatCodecAudio> codec = IFormatCodecAudio::Create();
    codec->SetChannelLayout(Vantor::Conf::CHANNEL_LAYOUT_MONO);
    codec->SetSampleFormat(Vantor::Conf::SAMPLE_FORMAT_S16);
    codec->SetChannelLayout(Vantor::Conf::CHANNEL_LAYOUT_STEREO);

    const Vantor::Core::Property& root = codec->GetProperty();
    ASSERT_EQ(root.GetChildren().size(), 2u);
    EXPECT_EQ(root.GetChildren().front().GetName(), IFormatCodecAudio::TAG_CHANNEL_LAYOUT);
    EXPECT_EQ(root.GetChildren().front().GetInteger(), 2);
    EXPECT_EQ(root.FindChild(IFormatCodecAudio::TAG_SAMPLE_FORMAT)->GetInteger(), 1);
    EXPECT_EQ(codec->GetChannelLayout(), Vantor::Conf::CHANNEL_LAYOUT_STEREO);
    EXPECT_EQ(codec->GetSampleFormat(), Vantor::Conf::SAMPLE_FORMAT_S16);
}

TEST(IFormatCodecAudio, StreamSettingsAreANodeOfTheirOwn)
{
    const Vantor::SP<IFormatCodecAudio> codec = IFormatCodecAudio::Create();
    Vantor::Core::Property settings = codec->GetStreamSettings();
    EXPECT_EQ(settings.GetType(), Vantor::PROPERTY_TYPE_NODE);
    settings.SetChildT<long long>(IFormatCodec::TAG_STREAM_ID, 0);
    EXPECT_TRUE(codec->GetStreamSettings().GetChildren().empty());

    codec->SetStreamSettings(settings);
    EXPECT_EQ(codec->GetStreamSettings().FindChild(IFormatCodec::TAG_STREAM_ID)->GetInteger(), 0);
    EXPECT_TRUE(codec->GetProperty().GetChildren().empty());
}

TEST(IFormatCodecAudio, TagNamesAreDistinct)
{
    const std::set<std::string> tags{
        IFormatCodec::TAG_STREAM_ID,         IFormatCodec::TAG_CODEC_ID,
        IFormatCodec::TAG_CONTAINER_NAME,    IFormatCodec::TAG_GLOBAL_HEADER,
        IFormatCodec::TAG_BITRATE_MODE,      IFormatCodec::TAG_BITRATE,
        IFormatCodec::TAG_MAIN_STREAM,       IFormatCodec::TAG_DEFAULT_STREAM,
        IFormatCodecAudio::TAG_FRAME_SIZE,   IFormatCodecAudio::TAG_INITIAL_PADDING,
        IFormatCodecAudio::TAG_SAMPLE_RATE,  IFormatCodecAudio::TAG_CHANNEL_LAYOUT,
        IFormatCodecAudio::TAG_SAMPLE_FORMAT};
    EXPECT_EQ(tags.size(), 13u);
    EXPECT_NE(IFormatCodec::TAG_BITRATE_MODE_CBR, IFormatCodec::TAG_BITRATE_MODE_VBR);
}
