// Several parsers of one image play at the same time on their own threads, each on its own track
// and two on the same track: every one of them gets exactly its track's sectors.
#include "ScratchDirectory.h"
#include "host/PluginHost.h"
#include "host/StartingGate.h"
#include "host/TestDisc.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace reliability {
namespace {

using Vantor::SP;
using Vantor::Proc::IDataPacket;

struct Playback
{
    unsigned track = 0;
    uint32_t packets = 0;
    uint32_t wrongPackets = 0;
    std::string failure;
};

// Opens the track on this thread, waits for the others, then plays it to its end.
void play(const PluginHost& host, const TestDisc& disc, StartingGate& gate, Playback& playback)
{
    try {
        const SP<Vantor::Proc::IParser> parser =
            host.open(PluginHost::trackPath(disc.written.cueSheet, playback.track));
        gate.arriveAndWait();
        for (SP<IDataPacket> packet = parser->Read(); packet; packet = parser->Read(), ++playback.packets)
            if (!isSector(packet, disc.sector(playback.track, playback.packets), playback.packets))
                ++playback.wrongPackets;
    } catch (const std::exception& e) {
        playback.failure = e.what();
        gate.arriveAndWait();
    }
}

struct ImageCase
{
    const char* name;
    mkdisc::DataFileFormat format;
    bool filePerTrack;
};

void PrintTo(const ImageCase& value, std::ostream* out)
{
    *out << value.name;
}

class ConcurrentPlayback : public testing::TestWithParam<ImageCase>
{
};

TEST_P(ConcurrentPlayback, EveryParserGetsExactlyItsTracksSectors)
{
    testsupport::ScratchDirectory directory;
    const TestDisc disc(directory.path(), GetParam().format, GetParam().filePerTrack);
    const PluginHost host;
    std::vector<Playback> playbacks;
    for (unsigned track : {1u, 2u, 2u, 3u}) {
        playbacks.emplace_back();
        playbacks.back().track = track;
    }
    StartingGate gate(static_cast<int>(playbacks.size()));

    std::vector<std::thread> threads;
    for (Playback& playback : playbacks)
        threads.emplace_back(play, std::cref(host), std::cref(disc), std::ref(gate), std::ref(playback));
    for (std::thread& thread : threads)
        thread.join();

    for (const Playback& playback : playbacks) {
        SCOPED_TRACE("track " + std::to_string(playback.track));
        EXPECT_EQ(playback.failure, "");
        EXPECT_EQ(playback.packets, disc.track(playback.track).lengthSectors);
        EXPECT_EQ(playback.wrongPackets, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Images, ConcurrentPlayback,
                         testing::Values(ImageCase{"OneBinaryFile", mkdisc::DataFileFormat::Binary, false},
                                         ImageCase{"WaveFilePerTrack", mkdisc::DataFileFormat::Wave, true}),
                         [](const testing::TestParamInfo<ImageCase>& info) { return info.param.name; });

} // namespace
} // namespace reliability
