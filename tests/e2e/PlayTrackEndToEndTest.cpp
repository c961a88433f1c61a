// A host's whole path through the plug-in, with nothing but what a host has: the module loaded by
// the registry, a disc image written at run time, the registered reader and parser factory.
#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/IParser.h"
#include "Vantor/Proc/PluginRegistry.h"

#include "ScratchDirectory.h"
#include "mkdisc/DiscWriter.h"

#include <boost/exception/get_error_info.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Vantor::SP;
using Vantor::Proc::ICDReader;
using Vantor::Proc::IDataPacket;
using Vantor::Proc::IParser;

constexpr long long SECTOR_DURATION = 13333;

mkdisc::TrackSpec AudioTrack(uint32_t sectors, uint32_t storedPregap = 0)
{
    mkdisc::TrackSpec track;
    track.sectors = sectors;
    track.storedPregapSectors = storedPregap;
    return track;
}

mkdisc::DiscSpec ThreeTrackDisc(mkdisc::DataFileFormat format, bool filePerTrack)
{
    mkdisc::DiscSpec album;
    album.name = "album";
    album.format = format;
    album.filePerTrack = filePerTrack;
    album.sessions.push_back({{AudioTrack(300), AudioTrack(451, 75), AudioTrack(226)}});
    return album;
}

bool SameBytes(const SP<IDataPacket>& packet, const mkdisc::Sector& expected)
{
    return packet->GetSize() == expected.size() &&
           std::equal(expected.begin(), expected.end(), packet->GetData());
}

struct DiscCase
{
    const char* name;
    mkdisc::DataFileFormat format;
    bool filePerTrack;
};

class PlayTrackEndToEnd : public testing::TestWithParam<DiscCase>
{
protected:
    void SetUp() override
    {
        album = ThreeTrackDisc(GetParam().format, GetParam().filePerTrack);
        written = mkdisc::writeDisc(album, directory.path() / "disc");
        layout = mkdisc::layoutOf(album);
        registry.LoadModule(Vantor::ioPath(std::string(PARSERCD_MODULE_PATH)));
        const std::vector<SP<Vantor::Proc::IParserCreator>> factories = registry.GetParserCreators("cda");
        ASSERT_EQ(factories.size(), 1u);
        factory = factories.front();
        reader = registry.CreateCDReader(Vantor::ioPath(written.cueSheet.string()));
    }

    SP<IParser> OpenTrack(Vantor::Index track) const
    {
        return factory->Create(Vantor::Core::DataInputPath::Create(reader->GetTrackPath(track)), {}, nullptr);
    }

    testsupport::ScratchDirectory directory;
    mkdisc::DiscSpec album;
    mkdisc::WrittenDisc written;
    mkdisc::DiscLayout layout;
    Vantor::Proc::PluginRegistry registry;
    SP<Vantor::Proc::IParserCreator> factory;
    SP<ICDReader> reader;
};

TEST_P(PlayTrackEndToEnd, EveryAudioTrackPlaysItsSectorsInOrderWithSectorTimestamps)
{
    ASSERT_EQ(reader->GetTrackCount(), layout.tracks.size());

    for (const mkdisc::TrackLayout& track : layout.tracks) {
        SCOPED_TRACE("track " + std::to_string(track.number));
        ASSERT_TRUE(track.audio);
        SP<IParser> parser = OpenTrack(track.number);
        uint32_t k = 0;
        for (SP<IDataPacket> packet = parser->Read(); packet; packet = parser->Read(), ++k) {
            ASSERT_LT(k, track.lengthSectors);
            ASSERT_TRUE(SameBytes(packet, mkdisc::sectorAt(album, track.startLba + k))) << "sector " << k;
            ASSERT_EQ(packet->GetPts(), k * SECTOR_DURATION);
            ASSERT_EQ(packet->GetDts(), k * SECTOR_DURATION);
            ASSERT_EQ(packet->GetDuration(), SECTOR_DURATION);
        }
        EXPECT_EQ(k, track.lengthSectors);
    }
}

TEST_P(PlayTrackEndToEnd, SeekToTheMiddleOfATrackDeliversTheSectorThatHoldsTheTime)
{
    const mkdisc::TrackLayout& track = layout.tracks.at(1);
    SP<IParser> parser = OpenTrack(track.number);
    const Vantor::avTime middle = parser->GetDuration() / 2;
    ASSERT_GT(middle, 0);

    parser->Seek(0, middle);
    const SP<IDataPacket> packet = parser->Read();

    ASSERT_TRUE(packet);
    const uint32_t sector = static_cast<uint32_t>(middle / SECTOR_DURATION);
    EXPECT_TRUE(SameBytes(packet, mkdisc::sectorAt(album, track.startLba + sector)));
    EXPECT_EQ(packet->GetPts(), sector * SECTOR_DURATION);
}

// The module throws; the host catches by its own classes and reads the tags by its own tag types.
TEST_P(PlayTrackEndToEnd, HostCatchesThePluginsExceptionsByClassAndReadsTheirTags)
{
    const Vantor::ioPath trackPath = reader->GetTrackPath(1);
    SP<IParser> parser = OpenTrack(1);
    try {
        parser->Seek(0, parser->GetDuration() + 1);
        FAIL() << "Seek did not throw";
    } catch (const Vantor::Exception& e) {
        const std::string* description = boost::get_error_info<Vantor::ErrorDescription>(e);
        const std::string* filename = boost::get_error_info<Vantor::ErrorFilename>(e);
        ASSERT_TRUE(description && filename);
        EXPECT_EQ(*description, "Seek error: invalid seek time position");
        EXPECT_EQ(*filename, trackPath.utf8string());
    }

    const Vantor::ioPath wrongExtension(written.cueSheet.string());
    EXPECT_THROW(factory->Create(Vantor::Core::DataInputPath::Create(wrongExtension), {}, nullptr),
                 Vantor::Proc::ParserException);
}

INSTANTIATE_TEST_SUITE_P(Images, PlayTrackEndToEnd,
                         testing::Values(DiscCase{"OneBinaryFile", mkdisc::DataFileFormat::Binary, false},
                                         DiscCase{"WaveFilePerTrack", mkdisc::DataFileFormat::Wave, true}),
                         [](const testing::TestParamInfo<DiscCase>& info) { return info.param.name; });

} // namespace
