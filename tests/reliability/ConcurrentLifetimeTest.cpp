// Readers and parsers made on many threads at once, by track path and by .cda file, play their
// tracks side by side from a WAVE file per track, and are released on threads other than the ones
// that made them.
#include "ScratchDirectory.h"
#include "host/TestDisc.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace reliability {
namespace {

using Vantor::SP;
using Vantor::Proc::ICDReader;
using Vantor::Proc::IParser;

constexpr int kThreads = 4;
constexpr int kRounds = 12;

// Each thread, round after round: a reader, a parser by its track path that plays the whole track,
// and one by the track's .cda file checked by its first packet, handed over to whichever thread
// comes next. The threads start together so that their work overlaps.
TEST(ConcurrentLifetime,
     ReadersAndParsersMadeOnManyThreadsPlayTheirTracksAndReleasedElsewhereKeepNoDescriptor)
{
    testsupport::ScratchDirectory directory;
    ::setenv("CUEIFY_VIRTUAL_DRIVES", directory.path().c_str(), 1);
    const TestDisc disc{directory.path(), mkdisc::DataFileFormat::Wave, true};
    const PluginHost host;
    struct Made
    {
        SP<ICDReader> reader;
        SP<IParser> byPath, byCda;
    };
    std::mutex mutex;
    std::deque<Made> handedOver;
    std::vector<std::string> failures(kThreads);
    std::atomic<int> wrongPackets{0}, waiting{kThreads};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] {
            for (--waiting; waiting > 0;)
                std::this_thread::yield();
            try {
                for (int round = 0; round < kRounds; ++round) {
                    const unsigned track = static_cast<unsigned>((i + round) % 3 + 1);
                    const SP<ICDReader> reader = host.readDisc(disc.written.cueSheet);
                    Made made{reader, host.open(reader->GetTrackPath(track).utf8string()),
                              host.open(disc.written.cdaFiles.at(track - 1).string())};
                    wrongPackets += !disc.playsOn(*made.byPath, track, 0);
                    wrongPackets += !disc.delivers(made.byCda->Read(), track, 0);
                    Made other;
                    {
                        const std::lock_guard<std::mutex> lock(mutex);
                        handedOver.push_back(std::move(made));
                        other = std::move(handedOver.front());
                        handedOver.pop_front();
                    }
                    other.byPath->Seek(0, 0);
                    other.byCda->Seek(0, 0);
                }
            } catch (const std::exception& e) {
                failures[i] = e.what();
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    handedOver.clear();
    ::unsetenv("CUEIFY_VIRTUAL_DRIVES");

    EXPECT_EQ(failures, std::vector<std::string>(kThreads));
    EXPECT_EQ(wrongPackets, 0);
    EXPECT_EQ(disc.openDescriptors(), 0u);
}

} // namespace
} // namespace reliability
