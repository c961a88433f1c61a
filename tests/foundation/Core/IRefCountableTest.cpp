#include "Vantor/Core/Interfaces/IRefCountable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Counted final : Vantor::RefCounted<Vantor::IRefCountable>
{
    explicit Counted(std::atomic<int>& deletions) : deletions(deletions) {}
    ~Counted() override { ++deletions; }
    std::atomic<int>& deletions;
};

} // namespace

// Release returns the count it leaves.
TEST(RefCount, ConcurrentlySharedObjectIsDeletedExactlyOnceWithTheLastRelease)
{
    std::atomic<int> deletions{0};
    const Counted* object = new Counted(deletions);
    EXPECT_EQ(std::vector<long>({object->AddRef(), object->AddRef(), object->Release()}),
              std::vector<long>({1, 2, 1}));
    for (int i = 1; i < 4; ++i) // one reference for each of the four threads
        object->AddRef();
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([object] {
            for (int round = 0; round < 20000; ++round) {
                object->AddRef();
                object->Release();
            }
            object->Release();
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(deletions, 1);
}
