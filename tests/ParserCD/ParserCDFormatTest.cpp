#include "Vantor/Conf/IFormatCodecAudio.h"

#include "ParserCDFixture.h"

namespace {

using namespace cdtest;
using Vantor::Conf::IFormatCodec;
using Vantor::Core::Property;

// The children of a description as "name=value", strings in quotes so that each value shows its
// type, and whole descriptions compare at once.
std::string Entries(const Property& node)
{
    std::string entries;
    for (const Property& child : node.GetChildren()) {
        const Vantor::PropertyTypes type = child.GetType();
        entries += child.GetName() + "=" +
                   (type == Vantor::PROPERTY_TYPE_INTEGER ? std::to_string(child.GetInteger())
                    : type == Vantor::PROPERTY_TYPE_BOOL  ? (child.GetBool() ? "true" : "false")
                                                          : '"' + child.GetString() + '"') +
                   "\n";
    }
    return entries;
}

using ParserCDFormat = FakeDiscTest;

TEST_F(ParserCDFormat, CodecContainerAndStatisticHoldTypedValuesAndOnlyTheTrackNumberAsMetadata)
{
    using F = Vantor::Conf::IFormatFile;
    using A = Vantor::Conf::IFormatCodecAudio;
    // Track 3 lasts 03:20:40, 200 whole seconds; capitals in the path show which names keep them.
    disc.setDisc(AudioDisc({300, 300, 15040}));
    const SP<Vantor::Proc::IParser> parser = Open("cdda:///dev/sr0#track3.CDA");
    const SP<IFormatCodec> codec = parser->GetStreamExtInfo(0);
    EXPECT_EQ(Entries(codec->GetProperty()),
              A::TAG_FRAME_SIZE + "=0\n" + A::TAG_INITIAL_PADDING + "=0\n" + A::TAG_CODEC_ID + "=\"" +
                  A::CODEC_ID_PCM_S16LE + "\"\n" + A::TAG_CONTAINER_NAME + "=\"cda\"\n" +
                  A::TAG_GLOBAL_HEADER + "=false\n" + A::TAG_SAMPLE_RATE + "=44100\n" +
                  A::TAG_CHANNEL_LAYOUT + "=2\n" + A::TAG_BITRATE_MODE + "=\"" + A::TAG_BITRATE_MODE_CBR +
                  "\"\n" + A::TAG_BITRATE + "=1411200\n" + A::TAG_SAMPLE_FORMAT + "=1\n" +
                  A::TAG_MAIN_STREAM + "=true\n" + A::TAG_DEFAULT_STREAM + "=true\n");
    EXPECT_EQ(Entries(codec->GetStreamSettings()), A::TAG_STREAM_ID + "=0\n");

    const auto empty = [](const auto&... tags) { return ((tags + "=\"\"\n") + ...); };
    EXPECT_EQ(Entries(parser->GetFormatFile()->GetProperty()),
              F::TAG_CONTAINER + "=\"cda\"\n" +
                  empty(F::TAG_TITLE, F::TAG_ARTIST, F::TAG_ALBUM, F::TAG_ALBUM_ARTIST, F::TAG_COMMENT,
                        F::TAG_COMPOSER, F::TAG_COPYRIGHT, F::TAG_CREATION_TIME, F::TAG_DATE, F::TAG_DISC,
                        F::TAG_ENCODER, F::TAG_ENCODED_BY, F::TAG_ENCRYPTION, F::TAG_GENRE, F::TAG_PERFORMER,
                        F::TAG_PUBLISHER) +
                  F::TAG_TRACK + "=\"3\"\n" +
                  empty(F::TAG_SERVICE_NAME, F::TAG_SERVICE_PROVIDER, F::TAG_VARIANT_BITRATE) +
                  F::TAG_FILENAME + "=\"cdda:///dev/sr0#track3.CDA\"\n" + F::TAG_FILE_EXTENSION +
                  "=\"cda\"\n" + F::TAG_FORMAT_FILE_SIZE + "=35280000\n");
    EXPECT_EQ(parser->GetFormatFile()->GetVantorSpecificMetadata(), "");
    EXPECT_EQ(parser->GetStreamExtInfo(5), codec);
    const Property statistic = parser->GetStatistic();
    EXPECT_EQ(statistic.GetName() + "=" + statistic.GetString() + " " + Entries(statistic),
              "Source=cdda:///dev/sr0#track3.CDA ");
}

} // namespace
