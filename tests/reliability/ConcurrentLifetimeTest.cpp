// Readers and parsers are made on many threads at once, by track path and by .cda file, play
// their tracks side by side from a WAVE file per track, and are released on threads other than the
// ones that made them.
#include "ScratchDirectory.h"
#include "host/OpenDescriptors.h"
#include "host/PluginHost.h"
#include "host/StartingGate.h"
#include "host/TestDisc.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace reliability {
namespace {

using Vantor::SP;
using Vantor::Proc::ICDReader;
using Vantor::Proc::IParser;

constexpr int kThreads = 4;
constexpr int kRounds = 12;

// Objects one thread made and another releases; each is used by one thread at a time.
struct Made
{
    SP<ICDReader> reader;
    std::vector<SP<IParser>> parsers;
};

class HandOver
{
public:
    void put(Made made)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.push_back(std::move(made));
    }
    // Something another thread made, or nothing.
    Made take()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_waiting.empty())
            return {};
        Made made = std::move(m_waiting.front());
        m_waiting.erase(m_waiting.begin());
        return made;
    }

private:
    std::mutex m_mutex;
    std::vector<Made> m_waiting;
};

struct Worker
{
    int index = 0;
    int wrongPackets = 0;
    std::string failure;
};

class ConcurrentLifetime : public testing::Test
{
protected:
    void SetUp() override { ::setenv("CUEIFY_VIRTUAL_DRIVES", directory.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("CUEIFY_VIRTUAL_DRIVES"); }

    // One round: a reader, a parser by its track path that plays the whole track, and one by the
    // track's .cda file checked by its first packet.
    Made makeAndCheck(Worker& worker, int round) const
    {
        Made made;
        made.reader = host.readDisc(disc.written.cueSheet);
        const unsigned track = static_cast<unsigned>((worker.index + round) % 3 + 1);
        made.parsers.push_back(host.open(made.reader->GetTrackPath(track).utf8string()));
        made.parsers.push_back(host.open(disc.written.cdaFiles.at(track - 1).string()));
        uint32_t k = 0;
        for (SP<Vantor::Proc::IDataPacket> packet = made.parsers[0]->Read(); packet;
             packet = made.parsers[0]->Read(), ++k)
            worker.wrongPackets += !isSector(packet, disc.sector(track, k), k);
        worker.wrongPackets += k != disc.track(track).lengthSectors;
        worker.wrongPackets += !isSector(made.parsers[1]->Read(), disc.sector(track, 0), 0);
        return made;
    }

    void work(Worker& worker)
    {
        gate.arriveAndWait();
        try {
            for (int round = 0; round < kRounds; ++round) {
                handOver.put(makeAndCheck(worker, round));
                Made other = handOver.take();
                for (const SP<IParser>& parser : other.parsers)
                    parser->Seek(0, 0);
            }
        } catch (const std::exception& e) {
            worker.failure = e.what();
        }
    }

    testsupport::ScratchDirectory directory;
    const TestDisc disc{directory.path(), mkdisc::DataFileFormat::Wave, true};
    const PluginHost host;
    StartingGate gate{kThreads};
    HandOver handOver;
};

TEST_F(ConcurrentLifetime,
       ReadersAndParsersMadeOnManyThreadsPlayTheirTracksAndReleasedElsewhereKeepNoDescriptor)
{
    std::vector<Worker> workers(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        workers[i].index = i;
        threads.emplace_back([this, &workers, i] { work(workers[i]); });
    }
    for (std::thread& thread : threads)
        thread.join();
    while (!handOver.take().parsers.empty()) {
    }

    for (const Worker& worker : workers) {
        SCOPED_TRACE("thread " + std::to_string(worker.index));
        EXPECT_EQ(worker.failure, "");
        EXPECT_EQ(worker.wrongPackets, 0);
    }
    EXPECT_EQ(descriptorsOpenUnder(directory.path()), 0u);
}

// Only reference counts are shared: the thread that drops the last reference destroys the parser,
// and must see what the thread that read from it wrote.
TEST_F(ConcurrentLifetime, ParserReadOnOneThreadIsDestroyedByWhicheverThreadDropsItLast)
{
    std::atomic<int> wrongPackets{0};
    for (int round = 0; round < kRounds; ++round) {
        SP<IParser> parser = host.open(disc.written.cdaFiles.at(0).string());
        StartingGate together(kThreads);
        std::vector<std::thread> threads;
        for (int i = 0; i < kThreads; ++i)
            threads.emplace_back([this, &together, &wrongPackets, copy = parser, reads = i == 0]() mutable {
                together.arriveAndWait();
                if (reads && !isSector(copy->Read(), disc.sector(1, 0), 0))
                    ++wrongPackets;
                copy = nullptr;
            });
        parser = nullptr;
        for (std::thread& thread : threads)
            thread.join();
    }
    EXPECT_EQ(wrongPackets, 0);
    EXPECT_EQ(descriptorsOpenUnder(directory.path()), 0u);
}

} // namespace
} // namespace reliability
