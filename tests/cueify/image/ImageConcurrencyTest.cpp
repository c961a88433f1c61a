// Several threads, each with its own handle on one image, at the same time.
#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace cueify::test {
namespace {

constexpr uint32_t kSectors = 2000;
constexpr int kThreads = 4;

struct ThreadResult
{
    bool opened = false;
    uint8_t lastTrack = 0;
    uint32_t wrongSectors = 0;
};

// Opens the image, reads its TOC and every sector, starting at a different place per thread.
ThreadResult readWholeImage(const std::string& sheet, int thread, std::atomic<int>& ready)
{
    ++ready;
    while (ready < kThreads)
        std::this_thread::yield();
    ThreadResult result;
    const DeviceOwner device = openDevice(sheet);
    if (!device)
        return result;
    result.opened = true;
    result.lastTrack = cueify_full_toc_get_session_last_track(readToc(device.get()).get(), 1);
    for (uint32_t i = 0; i < kSectors; ++i) {
        const uint32_t lba = (i + thread * kSectors / kThreads) % kSectors;
        if (readSector(device.get(), lba) != patternSector(1, lba))
            ++result.wrongSectors;
    }
    return result;
}

TEST(ImageConcurrency, FourThreadsWithTheirOwnHandlesReadTheRightBytes)
{
    TempDir dir;
    writeFile(dir / "disc.bin", patternBytes(1, kSectors));
    writeFile(dir / "disc.cue", "FILE \"disc.bin\" BINARY\n"
                                "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                "  TRACK 02 AUDIO\n    INDEX 00 00:08:00\n    INDEX 01 00:10:00\n");
    const std::string sheet = (dir / "disc.cue").string();
    std::atomic<int> ready{0};
    std::vector<ThreadResult> results(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] { results[i] = readWholeImage(sheet, i, ready); });
    for (std::thread& thread : threads)
        thread.join();
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_TRUE(results[i].opened) << "thread " << i;
        EXPECT_EQ(results[i].lastTrack, 2) << "thread " << i;
        EXPECT_EQ(results[i].wrongSectors, 0u) << "thread " << i;
    }
}

} // namespace
} // namespace cueify::test
