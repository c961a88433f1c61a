#include "FakeTrack.h"
#include "OpenFixture.h"

#include "Vantor/Conf/IFormatCodecAudio.h"
#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace openfixture;
using Vantor::SP;
using Vantor::Conf::IFormatCodec;
using Vantor::Conf::IFormatCodecAudio;
using Vantor::Conf::IFormatFile;
using Vantor::Core::Property;
using Vantor::Proc::IParser;

// A child as "name=value", so that whole descriptions compare in one line.
std::string Entry(const Property& child)
{
    switch (child.GetType()) {
    case Vantor::PROPERTY_TYPE_INTEGER:
        return child.GetName() + "=" + std::to_string(child.GetInteger());
    case Vantor::PROPERTY_TYPE_STRING:
        return child.GetName() + "=" + child.GetString();
    case Vantor::PROPERTY_TYPE_BOOL:
        return child.GetName() + "=" + (child.GetBool() ? "true" : "false");
    default:
        return child.GetName() + " of type " + std::to_string(child.GetType());
    }
}

std::vector<std::string> Entries(const Property& node)
{
    std::vector<std::string> entries;
    for (const Property& child : node.GetChildren())
        entries.push_back(Entry(child));
    return entries;
}

std::string Tag(const SP<IParser>& parser, const std::string& name)
{
    const Property& root = parser->GetFormatFile()->GetProperty();
    const auto child = root.FindChild(name);
    return child == root.GetChildren().end() ? "(missing)" : Entry(*child);
}

class ParserCDFormat : public faketrack::FakeDiscTest
{
protected:
    // Track 3 lasts 03:20:40: 200 whole seconds.
    SP<IParser> OpenTrack3(const std::string& extension = ".cda")
    {
        disc.setDisc(faketrack::AudioDisc(0, {300, 300, 15040}));
        return Open("cdda:///dev/sr0#track3" + extension);
    }
};

TEST_F(ParserCDFormat, CodecDescriptionIsStereoPcmAt1411200BitsPerSecond)
{
    const SP<IParser> parser = OpenTrack3();
    const SP<IFormatCodecAudio> codec =
        boost::dynamic_pointer_cast<IFormatCodecAudio>(parser->GetStreamExtInfo(0));
    ASSERT_TRUE(codec);

    const auto pair = [](const std::string& name, const std::string& value) { return name + "=" + value; };
    EXPECT_EQ(Entries(codec->GetProperty()),
              (std::vector<std::string>{
                  pair(IFormatCodecAudio::TAG_FRAME_SIZE, "0"),
                  pair(IFormatCodecAudio::TAG_INITIAL_PADDING, "0"),
                  pair(IFormatCodec::TAG_CODEC_ID, IFormatCodecAudio::CODEC_ID_PCM_S16LE),
                  pair(IFormatCodec::TAG_CONTAINER_NAME, "cda"),
                  pair(IFormatCodec::TAG_GLOBAL_HEADER, "false"),
                  pair(IFormatCodecAudio::TAG_SAMPLE_RATE, "44100"),
                  pair(IFormatCodecAudio::TAG_CHANNEL_LAYOUT, "2"),
                  pair(IFormatCodec::TAG_BITRATE_MODE, IFormatCodec::TAG_BITRATE_MODE_CBR),
                  pair(IFormatCodec::TAG_BITRATE, "1411200"),
                  pair(IFormatCodecAudio::TAG_SAMPLE_FORMAT, "1"),
                  pair(IFormatCodec::TAG_MAIN_STREAM, "true"),
                  pair(IFormatCodec::TAG_DEFAULT_STREAM, "true"),
              }));
    EXPECT_EQ(codec->GetChannelLayout(), Vantor::Conf::CHANNEL_LAYOUT_STEREO);
    EXPECT_EQ(codec->GetSampleFormat(), Vantor::Conf::SAMPLE_FORMAT_S16);
    EXPECT_EQ(Entries(codec->GetStreamSettings()),
              std::vector<std::string>{IFormatCodec::TAG_STREAM_ID + "=0"});
}

TEST_F(ParserCDFormat, ContainerDescriptionHoldsEmptyMetadataButTheTrackNumber)
{
    const SP<IParser> parser = OpenTrack3();
    const SP<IFormatFile> file = parser->GetFormatFile();
    ASSERT_TRUE(file);

    std::vector<std::string> expected{IFormatFile::TAG_CONTAINER + "=cda"};
    for (const std::string* tag :
         {&IFormatFile::TAG_TITLE, &IFormatFile::TAG_ARTIST, &IFormatFile::TAG_ALBUM,
          &IFormatFile::TAG_ALBUM_ARTIST, &IFormatFile::TAG_COMMENT, &IFormatFile::TAG_COMPOSER,
          &IFormatFile::TAG_COPYRIGHT, &IFormatFile::TAG_CREATION_TIME, &IFormatFile::TAG_DATE,
          &IFormatFile::TAG_DISC, &IFormatFile::TAG_ENCODER, &IFormatFile::TAG_ENCODED_BY,
          &IFormatFile::TAG_ENCRYPTION, &IFormatFile::TAG_GENRE, &IFormatFile::TAG_PERFORMER,
          &IFormatFile::TAG_PUBLISHER})
        expected.push_back(*tag + "=");
    expected.push_back(IFormatFile::TAG_TRACK + "=3");
    for (const std::string* tag : {&IFormatFile::TAG_SERVICE_NAME, &IFormatFile::TAG_SERVICE_PROVIDER,
                                   &IFormatFile::TAG_VARIANT_BITRATE})
        expected.push_back(*tag + "=");
    expected.push_back(IFormatFile::TAG_FILENAME + "=cdda:///dev/sr0#track3.cda");
    expected.push_back(IFormatFile::TAG_FILE_EXTENSION + "=cda");
    expected.push_back(IFormatFile::TAG_FORMAT_FILE_SIZE + "=35280000");

    EXPECT_EQ(Entries(file->GetProperty()), expected);
    EXPECT_EQ(file->GetVantorSpecificMetadata(), "");
    EXPECT_EQ(parser->GetSize(), 35280000);
}

TEST_F(ParserCDFormat, TrackPathInCapitalsIsDescribedInLowerCase)
{
    const SP<IParser> parser = OpenTrack3(".CDA");
    EXPECT_EQ(Tag(parser, IFormatFile::TAG_CONTAINER), IFormatFile::TAG_CONTAINER + "=cda");
    EXPECT_EQ(Tag(parser, IFormatFile::TAG_FILE_EXTENSION), IFormatFile::TAG_FILE_EXTENSION + "=cda");
    EXPECT_EQ(Tag(parser, IFormatFile::TAG_FILENAME),
              IFormatFile::TAG_FILENAME + "=cdda:///dev/sr0#track3.CDA");
}

TEST_F(ParserCDFormat, CdaFileInCapitalsIsDescribedInLowerCaseWithItsNameKept)
{
    ScratchDirectory drive;
    const std::string input = (drive.path() / "TRACK01.CDA").string();
    WriteFile(input, CdaBytes(1, 77));
    disc.setDevices({drive.path().string()});
    disc.setDisc(faketrack::AudioDisc(0, {900}));

    const SP<IParser> parser = Open(input);
    const SP<IFormatCodec> codec = parser->GetStreamExtInfo(0);

    EXPECT_EQ(Tag(parser, IFormatFile::TAG_CONTAINER), IFormatFile::TAG_CONTAINER + "=cda");
    EXPECT_EQ(Entry(*codec->GetProperty().FindChild(IFormatCodec::TAG_CONTAINER_NAME)),
              IFormatCodec::TAG_CONTAINER_NAME + "=cda");
    EXPECT_EQ(Tag(parser, IFormatFile::TAG_FILE_EXTENSION), IFormatFile::TAG_FILE_EXTENSION + "=cda");
    EXPECT_EQ(Tag(parser, IFormatFile::TAG_FILENAME), IFormatFile::TAG_FILENAME + "=" + input);
}

TEST_F(ParserCDFormat, TrackTagIsTheDecimalTrackNumber)
{
    disc.setDisc(faketrack::AudioDisc(0, std::vector<uint32_t>(12, 300)));
    EXPECT_EQ(Tag(Open("cdda:///dev/sr0#track3.cda"), IFormatFile::TAG_TRACK), IFormatFile::TAG_TRACK + "=3");
    EXPECT_EQ(Tag(Open("cdda:///dev/sr0#track012.cda"), IFormatFile::TAG_TRACK),
              IFormatFile::TAG_TRACK + "=12");
}

// Whatever size the parser answers is what the description records.
class ResizedParser final : public Vantor::Proc::ParserCD
{
public:
    ResizedParser() : ParserCD(nullptr) {}
    int64_t GetSize() const override { return 4242; }
};

TEST_F(ParserCDFormat, FileSizeTagAsksTheParsersOwnSize)
{
    disc.setDisc(faketrack::AudioDisc(0, {15040}));
    const SP<ResizedParser> parser(new ResizedParser);
    parser->Open(Vantor::Core::DataInputPath::Create("cdda:///dev/sr0#track1.cda"));
    EXPECT_EQ(Tag(parser, IFormatFile::TAG_FORMAT_FILE_SIZE), IFormatFile::TAG_FORMAT_FILE_SIZE + "=4242");
}

TEST_F(ParserCDFormat, EveryQueryHandsOutOneMoreReferenceToTheSameDescription)
{
    const SP<IParser> parser = OpenTrack3();
    const SP<IFormatCodec> first = parser->GetStreamExtInfo(0);
    const long afterFirst = first->GetRefCount();
    const SP<IFormatCodec> fifth = parser->GetStreamExtInfo(5);
    EXPECT_EQ(fifth.get(), first.get());
    EXPECT_EQ(first->GetRefCount(), afterFirst + 1);
    EXPECT_EQ(afterFirst, 2); // the parser's and this one

    const SP<IFormatFile> file = parser->GetFormatFile();
    EXPECT_EQ(file->GetRefCount(), 2);
    EXPECT_EQ(parser->GetFormatFile().get(), file.get());
}

TEST_F(ParserCDFormat, DescriptionsOutliveTheParser)
{
    SP<IParser> parser = OpenTrack3();
    const SP<IFormatFile> file = parser->GetFormatFile();
    parser.reset();
    ExpectEverythingFreed();
    EXPECT_EQ(file->GetRefCount(), 1);
    EXPECT_EQ(file->GetProperty().FindChild(IFormatFile::TAG_TRACK)->GetString(), "3");
}

TEST_F(ParserCDFormat, StatisticNamesTheSource)
{
    const Property statistic = OpenTrack3()->GetStatistic();
    EXPECT_EQ(Entry(statistic), "Source=cdda:///dev/sr0#track3.cda");
    EXPECT_TRUE(statistic.GetChildren().empty());
}

} // namespace
