// A host's whole path through the plug-in, with nothing but what a host has: the module loaded by
// the registry, a disc image written at run time, the registered reader and parser factory.
#include "ScratchDirectory.h"
#include "host/PluginHost.h"
#include "host/TestDisc.h"

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"

#include <boost/exception/get_error_info.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

using reliability::isSector;
using reliability::PluginHost;
using reliability::TestDisc;
using Vantor::SP;
using Vantor::Proc::IDataPacket;
using Vantor::Proc::IParser;

struct DiscCase
{
    const char* name;
    mkdisc::DataFileFormat format;
    bool filePerTrack;
};

class PlayTrackEndToEnd : public testing::TestWithParam<DiscCase>
{
protected:
    testsupport::ScratchDirectory directory;
    const TestDisc disc{directory.path() / "disc", GetParam().format, GetParam().filePerTrack};
    const PluginHost host;
    const SP<Vantor::Proc::ICDReader> reader = host.readDisc(disc.written.cueSheet);
};

TEST_P(PlayTrackEndToEnd, EveryTrackPlaysItsSectorsInOrderWithSectorTimestamps)
{
    ASSERT_EQ(reader->GetTrackCount(), disc.layout.tracks.size());
    for (const mkdisc::TrackLayout& track : disc.layout.tracks) {
        const SP<IParser> parser = host.open(reader->GetTrackPath(track.number).utf8string());
        uint32_t k = 0;
        for (SP<IDataPacket> packet = parser->Read(); packet; packet = parser->Read(), ++k)
            ASSERT_TRUE(isSector(packet, disc.sector(track.number, k), k))
                << "track " << track.number << " " << k;
        EXPECT_EQ(k, track.lengthSectors) << "track " << track.number;
    }
}

// The module throws; the host catches by its own classes and reads the tags by its own tag types.
TEST_P(PlayTrackEndToEnd, SeekDeliversTheSectorThatHoldsTheTimeAndABadSeekThrowsWithItsTags)
{
    const std::string path = reader->GetTrackPath(2).utf8string();
    const SP<IParser> parser = host.open(path);
    parser->Seek(0, 2000000); // sector 150 of 300 starts at 1999950 us
    EXPECT_TRUE(isSector(parser->Read(), disc.sector(2, 150), 150));
    try {
        parser->Seek(0, parser->GetDuration() + 1);
        ADD_FAILURE() << "Seek did not throw";
    } catch (const Vantor::Exception& e) {
        EXPECT_EQ(reliability::descriptionOf(e), "Seek error: invalid seek time position");
        ASSERT_TRUE(boost::get_error_info<Vantor::ErrorFilename>(e));
        EXPECT_EQ(*boost::get_error_info<Vantor::ErrorFilename>(e), path);
    }
    EXPECT_THROW(host.open(disc.written.cueSheet.string()), Vantor::Proc::ParserException);
}

INSTANTIATE_TEST_SUITE_P(Images, PlayTrackEndToEnd,
                         testing::Values(DiscCase{"OneBinaryFile", mkdisc::DataFileFormat::Binary, false},
                                         DiscCase{"WaveFilePerTrack", mkdisc::DataFileFormat::Wave, true}),
                         [](const testing::TestParamInfo<DiscCase>& info) { return info.param.name; });

} // namespace
