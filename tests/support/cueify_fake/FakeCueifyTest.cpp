#include "cueify_fake/FakeCueify.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

using fake::FakeCueify;

class FakeCueifyTest : public testing::Test
{
protected:
    void SetUp() override { fake.reset(); }
    void TearDown() override { fake.reset(); }

    FakeCueify& fake = FakeCueify::instance();
};

fake::Sector filledSector(uint8_t value)
{
    fake::Sector sector;
    sector.fill(value);
    return sector;
}

TEST_F(FakeCueifyTest, DeviceListIsOneBlockOfPointersFollowedByNames)
{
    fake.setDevices({std::string("/dev/sr0"), std::nullopt, std::string("/music/disc")});
    size_t count = 99;
    char** list = cueify_device_get_all_devices(&count);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(count, 3u);
    const char* namesStart = reinterpret_cast<const char*>(list + 3);
    EXPECT_EQ(list[0], namesStart);
    EXPECT_STREQ(list[0], "/dev/sr0");
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(list[2], namesStart + sizeof("/dev/sr0"));
    EXPECT_STREQ(list[2], "/music/disc");
    std::free(list); // the leak checker proves that one free releases the names too
}

TEST_F(FakeCueifyTest, EmptyDeviceListIsNullWithCountZero)
{
    size_t count = 99;
    EXPECT_EQ(cueify_device_get_all_devices(&count), nullptr);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(cueify_device_get_default_device(), nullptr);
}

TEST_F(FakeCueifyTest, DefaultDeviceIsFirstNamedEntry)
{
    fake.setDevices({std::nullopt, std::string("/dev/sr1"), std::string("/dev/sr2")});
    EXPECT_STREQ(cueify_device_get_default_device(), "/dev/sr1");
}

TEST_F(FakeCueifyTest, CountedReadFailureFailsOnlyTheNextReadsOfThatSector)
{
    fake.setSector(7, filledSector(0x5a));
    fake.failReadCount(7, CUEIFY_ERR_INTERNAL, 2);
    cueify_device* device = cueify_device_new();
    ASSERT_EQ(cueify_device_open(device, "/dev/sr0"), CUEIFY_OK);
    fake::Sector buffer{};
    EXPECT_EQ(cueify_device_read_raw(device, 8, buffer.data()), CUEIFY_OK);
    EXPECT_EQ(cueify_device_read_raw(device, 7, buffer.data()), CUEIFY_ERR_INTERNAL);
    EXPECT_EQ(cueify_device_read_raw(device, 7, buffer.data()), CUEIFY_ERR_INTERNAL);
    EXPECT_EQ(cueify_device_read_raw(device, 7, buffer.data()), CUEIFY_OK);
    EXPECT_EQ(buffer, filledSector(0x5a));
    cueify_device_free(device);
    std::vector<uint32_t> reads;
    for (const fake::Call& call : fake.calls())
        if (call.function == "cueify_device_read_raw")
            reads.push_back(call.number);
    EXPECT_EQ(reads, (std::vector<uint32_t>{8, 7, 7, 7}));
}

TEST_F(FakeCueifyTest, CountedReadFailureWinsOverLastingOneThenLetsItThrough)
{
    fake.failReadAt(3, CUEIFY_ERR_BADARG);
    fake.failReadCount(3, CUEIFY_ERR_INTERNAL, 1);
    cueify_device* device = cueify_device_new();
    ASSERT_EQ(cueify_device_open(device, "/dev/sr0"), CUEIFY_OK);
    fake::Sector buffer{};
    EXPECT_EQ(cueify_device_read_raw(device, 3, buffer.data()), CUEIFY_ERR_INTERNAL);
    EXPECT_EQ(cueify_device_read_raw(device, 3, buffer.data()), CUEIFY_ERR_BADARG);
    cueify_device_free(device);
}

TEST_F(FakeCueifyTest, LiveHandlesAreCountedUntilFreed)
{
    cueify_device* first = cueify_device_new();
    cueify_device* second = cueify_device_new();
    cueify_full_toc* toc = cueify_full_toc_new();
    EXPECT_NE(first, second);
    EXPECT_EQ(fake.liveDevices(), 2);
    EXPECT_EQ(fake.liveTocs(), 1);
    ASSERT_EQ(cueify_device_open(first, "/dev/sr0"), CUEIFY_OK);
    EXPECT_EQ(fake.openDevices(), 1);
    cueify_device_free(first); // closes it
    EXPECT_EQ(fake.openDevices(), 0);
    cueify_device_free(second);
    cueify_full_toc_free(toc);
    cueify_device_free(nullptr);
    cueify_full_toc_free(nullptr);
    EXPECT_EQ(fake.liveDevices(), 0);
    EXPECT_EQ(fake.liveTocs(), 0);
    EXPECT_TRUE(fake.misuses().empty());
}

TEST_F(FakeCueifyTest, DoubleFreeIsRecordedAsMisuse)
{
    cueify_device* device = cueify_device_new();
    cueify_full_toc* toc = cueify_full_toc_new();
    cueify_device_free(device);
    cueify_device_free(device);
    cueify_full_toc_free(toc);
    EXPECT_EQ(cueify_full_toc_get_last_session(toc), 0);
    EXPECT_EQ(fake.misuses(), (std::vector<std::string>{"cueify_device_free: device handle already freed",
                                                         "cueify_full_toc_get_last_session: TOC handle already freed"}));
    EXPECT_EQ(fake.liveDevices(), 0);
}

TEST_F(FakeCueifyTest, FailedNewLeavesNoLiveHandle)
{
    fake.failNew();
    fake.failTocNew();
    EXPECT_EQ(cueify_device_new(), nullptr);
    EXPECT_EQ(cueify_full_toc_new(), nullptr);
    EXPECT_EQ(fake.liveDevices(), 0);
    EXPECT_EQ(fake.liveTocs(), 0);
}

TEST(FakeCueifyConcurrency, ParallelCallersKeepCountsExact)
{
    FakeCueify& fake = FakeCueify::instance();
    fake.reset();
    constexpr int threads = 4;
    constexpr int rounds = 200;
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i)
        workers.emplace_back([] {
            fake::Sector buffer{};
            for (int round = 0; round < rounds; ++round) {
                cueify_device* device = cueify_device_new();
                cueify_device_open(device, "/dev/sr0");
                cueify_device_read_raw(device, round, buffer.data());
                cueify_device_free(device);
            }
        });
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(fake.countCalls("cueify_device_read_raw"), size_t{threads * rounds});
    EXPECT_EQ(fake.calls().size(), size_t{4 * threads * rounds});
    EXPECT_EQ(fake.liveDevices(), 0);
    fake.reset();
}

} // namespace
