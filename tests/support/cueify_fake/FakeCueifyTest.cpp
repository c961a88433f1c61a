// The fake's own logic: the device list block, which injected failure wins, handle bookkeeping.
#include "cueify_fake/FakeCueify.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class FakeCueifyTest : public testing::Test
{
protected:
    void SetUp() override { fake.reset(); }

    fake::FakeCueify& fake = fake::FakeCueify::instance();
};

TEST_F(FakeCueifyTest, DeviceListIsOneFreeableBlockWhoseFirstNameOpensByNull)
{
    fake.setDevices({std::nullopt, std::string("/dev/sr0"), std::string("/music/disc")});
    size_t count = 0;
    char** list = cueify_device_get_all_devices(&count);
    const char* names = reinterpret_cast<const char*>(list + 3);
    EXPECT_EQ(std::vector<const char*>(list, list + count),
              (std::vector<const char*>{nullptr, names, names + 9}));
    EXPECT_EQ(std::string(names, 21), std::string("/dev/sr0\0/music/disc", 21));
    std::free(list); // the leak checker proves that one free releases the names too
    fake.failOpen("/dev/sr0", CUEIFY_ERR_NOMEM);
    cueify_device* device = cueify_device_new();
    EXPECT_EQ(cueify_device_open(device, nullptr), CUEIFY_ERR_NOMEM);
    cueify_device_free(device);
}

TEST_F(FakeCueifyTest, DevicesOwnReadFailureWinsOverTheOneForEveryDevice)
{
    fake::Sector sector;
    sector.fill(0x5a);
    fake.setSector(6, sector);
    fake.failReadAt(7, CUEIFY_ERR_INTERNAL);
    fake.failReadAt("/dev/sr0", 7, CUEIFY_ERR_BADARG);
    fake::Sector read{};
    cueify_device* device = cueify_device_new();
    const auto readFrom = [&](const char* name, uint32_t lba) {
        cueify_device_open(device, name);
        return cueify_device_read_raw(device, lba, read.data());
    };
    EXPECT_EQ((std::vector<int>{readFrom("/dev/sr0", 7), readFrom("/dev/sr1", 7), readFrom("/dev/sr1", 6)}),
              (std::vector<int>{CUEIFY_ERR_BADARG, CUEIFY_ERR_INTERNAL, CUEIFY_OK}));
    EXPECT_EQ(read, sector);
    cueify_device_free(device);
    EXPECT_EQ(fake.calls().at(3).text, "/dev/sr1");
}

TEST_F(FakeCueifyTest, HandlesAreCountedUntilFreedAndMisuseIsRecorded)
{
    const auto counts = [this] {
        return std::vector<int>{fake.liveDevices(), fake.liveTocs(), fake.openDevices()};
    };
    cueify_device* device = cueify_device_new();
    cueify_full_toc* toc = cueify_full_toc_new();
    ASSERT_EQ(cueify_device_open(device, "/dev/sr0"), CUEIFY_OK);
    EXPECT_EQ(counts(), (std::vector<int>{1, 1, 1}));
    cueify_device_free(device); // closes it
    cueify_device_free(device);
    cueify_full_toc_free(toc);
    EXPECT_EQ(cueify_full_toc_get_last_session(toc), 0);
    fake.failNew();
    fake.failTocNew();
    EXPECT_EQ(cueify_device_new(), nullptr);
    EXPECT_EQ(cueify_full_toc_new(), nullptr);
    EXPECT_EQ(counts(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(fake.misuses(),
              (std::vector<std::string>{"cueify_device_free: device handle already freed",
                                        "cueify_full_toc_get_last_session: TOC handle already freed"}));
}

} // namespace
