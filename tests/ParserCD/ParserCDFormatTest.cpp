#include "ParserCDFixture.h"

#include "Vantor/Conf/IFormatCodecAudio.h"
#include "Vantor/Conf/IFormatFile.h"

#include <gtest/gtest.h>

namespace {

using namespace cdtest;
using Vantor::Conf::IFormatCodec;
using Vantor::Conf::IFormatCodecAudio;
using Vantor::Conf::IFormatFile;
using Vantor::Core::Property;

// The children of a description as "name=value", so that whole descriptions compare at once.
std::string Entries(const Property& node)
{
    std::string entries;
    for (const Property& child : node.GetChildren()) {
        const Vantor::PropertyTypes type = child.GetType();
        entries += child.GetName() + "=" +
                   (type == Vantor::PROPERTY_TYPE_INTEGER ? std::to_string(child.GetInteger())
                    : type == Vantor::PROPERTY_TYPE_BOOL  ? (child.GetBool() ? "true" : "false")
                                                          : child.GetString()) +
                   "\n";
    }
    return entries;
}

class ParserCDFormat : public cdtest::FakeDiscTest
{
protected:
    // Track 3 lasts 03:20:40, 200 whole seconds; capitals in the path show which names keep them.
    void SetUp() override
    {
        FakeDiscTest::SetUp();
        disc.setDisc(AudioDisc(0, {300, 300, 15040}));
        parser = Open("cdda:///dev/sr0#track3.CDA");
    }

    SP<Vantor::Proc::IParser> parser;
};

TEST_F(ParserCDFormat, CodecDescriptionIsStereoSigned16BitPcmAt44100Hz)
{
    const SP<IFormatCodec> codec = parser->GetStreamExtInfo(0);
    EXPECT_EQ(Entries(codec->GetProperty()),
              IFormatCodecAudio::TAG_FRAME_SIZE + "=0\n" + IFormatCodecAudio::TAG_INITIAL_PADDING + "=0\n" +
                  IFormatCodec::TAG_CODEC_ID + "=" + IFormatCodecAudio::CODEC_ID_PCM_S16LE + "\n" +
                  IFormatCodec::TAG_CONTAINER_NAME + "=cda\n" + IFormatCodec::TAG_GLOBAL_HEADER + "=false\n" +
                  IFormatCodecAudio::TAG_SAMPLE_RATE + "=44100\n" + IFormatCodecAudio::TAG_CHANNEL_LAYOUT +
                  "=2\n" + IFormatCodec::TAG_BITRATE_MODE + "=" + IFormatCodec::TAG_BITRATE_MODE_CBR + "\n" +
                  IFormatCodec::TAG_BITRATE + "=1411200\n" + IFormatCodecAudio::TAG_SAMPLE_FORMAT + "=1\n" +
                  IFormatCodec::TAG_MAIN_STREAM + "=true\n" + IFormatCodec::TAG_DEFAULT_STREAM + "=true\n");
    EXPECT_EQ(Entries(codec->GetStreamSettings()), IFormatCodec::TAG_STREAM_ID + "=0\n");
}

TEST_F(ParserCDFormat, ContainerDescriptionHoldsEmptyMetadataButTheTrackNumber)
{
    std::string expected = IFormatFile::TAG_CONTAINER + "=cda\n";
    for (const std::string* tag : {&IFormatFile::TAG_TITLE,
                                   &IFormatFile::TAG_ARTIST,
                                   &IFormatFile::TAG_ALBUM,
                                   &IFormatFile::TAG_ALBUM_ARTIST,
                                   &IFormatFile::TAG_COMMENT,
                                   &IFormatFile::TAG_COMPOSER,
                                   &IFormatFile::TAG_COPYRIGHT,
                                   &IFormatFile::TAG_CREATION_TIME,
                                   &IFormatFile::TAG_DATE,
                                   &IFormatFile::TAG_DISC,
                                   &IFormatFile::TAG_ENCODER,
                                   &IFormatFile::TAG_ENCODED_BY,
                                   &IFormatFile::TAG_ENCRYPTION,
                                   &IFormatFile::TAG_GENRE,
                                   &IFormatFile::TAG_PERFORMER,
                                   &IFormatFile::TAG_PUBLISHER,
                                   &IFormatFile::TAG_TRACK,
                                   &IFormatFile::TAG_SERVICE_NAME,
                                   &IFormatFile::TAG_SERVICE_PROVIDER,
                                   &IFormatFile::TAG_VARIANT_BITRATE})
        expected += *tag + (tag == &IFormatFile::TAG_TRACK ? "=3\n" : "=\n");
    expected += IFormatFile::TAG_FILENAME + "=cdda:///dev/sr0#track3.CDA\n" +
                IFormatFile::TAG_FILE_EXTENSION + "=cda\n" + IFormatFile::TAG_FORMAT_FILE_SIZE +
                "=35280000\n";
    EXPECT_EQ(Entries(parser->GetFormatFile()->GetProperty()), expected);
    EXPECT_EQ(parser->GetFormatFile()->GetVantorSpecificMetadata(), "");
}

TEST_F(ParserCDFormat, QueriesHandOutOneMoreReferenceToDescriptionsThatOutliveTheParser)
{
    const SP<IFormatCodec> first = parser->GetStreamExtInfo(0);
    EXPECT_EQ(first->GetRefCount(), 2);
    const SP<IFormatCodec> fifth = parser->GetStreamExtInfo(5);
    EXPECT_EQ(fifth, first);
    EXPECT_EQ(first->GetRefCount(), 3);
    const SP<IFormatFile> file = parser->GetFormatFile();
    EXPECT_EQ(file->GetRefCount(), 2);
    const Property statistic = parser->GetStatistic();
    EXPECT_EQ(statistic.GetName() + "=" + statistic.GetString(), "Source=cdda:///dev/sr0#track3.CDA");
    EXPECT_TRUE(statistic.GetChildren().empty());

    parser.reset();
    ExpectEverythingFreed();
    EXPECT_EQ(file->GetRefCount(), 1);
    EXPECT_EQ(first->GetRefCount(), 2);
}

} // namespace
