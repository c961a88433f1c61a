#include "Vantor/Core/Interfaces/IRefCountable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

class Counted final : public Vantor::IRefCountable
{
public:
    explicit Counted(std::atomic<int>& deletions) : m_deletions(deletions) {}
    ~Counted() override { ++m_deletions; }

    long AddRef() const override { return m_count.AddRefImpl(); }
    long GetRefCount() const override { return m_count.GetRefCountImpl(); }
    long Release() const override
    {
        const long left = m_count.ReleaseImpl();
        if (left == 0)
            delete this;
        return left;
    }

private:
    Vantor::RefCountImpl m_count;
    std::atomic<int>& m_deletions;
};

} // namespace

TEST(RefCount, ReleaseReturnsTheCountLeftAndDeletesAtZero)
{
    std::atomic<int> deletions{0};
    const Counted* object = new Counted(deletions);
    EXPECT_EQ(object->GetRefCount(), 0);
    EXPECT_EQ(object->AddRef(), 1);
    EXPECT_EQ(object->AddRef(), 2);
    EXPECT_EQ(object->Release(), 1);
    EXPECT_EQ(deletions, 0);
    EXPECT_EQ(object->Release(), 0);
    EXPECT_EQ(deletions, 1);
}

TEST(RefCount, HandleReleasesItsReference)
{
    std::atomic<int> deletions{0};
    {
        Vantor::SP<Counted> first(new Counted(deletions));
        Vantor::SP<Counted> second = first;
        EXPECT_EQ(first->GetRefCount(), 2);
    }
    EXPECT_EQ(deletions, 1);
}

TEST(RefCount, ConcurrentlySharedObjectIsDeletedExactlyOnce)
{
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    std::atomic<int> deletions{0};
    const Counted* object = new Counted(deletions);
    for (int i = 0; i < kThreads; ++i)
        object->AddRef();

    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([object] {
            for (int round = 0; round < kRounds; ++round) {
                object->AddRef();
                object->Release();
            }
            object->Release();
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(deletions, 1);
}
