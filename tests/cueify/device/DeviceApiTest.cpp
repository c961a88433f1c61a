#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace cueify::test {
namespace {

constexpr const char* kVirtualDrives = "CUEIFY_VIRTUAL_DRIVES";

const char* kOneTrackSheet = "FILE \"disc.bin\" BINARY\n"
                             "  TRACK 01 AUDIO\n"
                             "    INDEX 01 00:00:00\n";

// Keeps CUEIFY_VIRTUAL_DRIVES as the test found it.
class DeviceApi : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* value = std::getenv(kVirtualDrives))
            m_saved = value;
        unsetenv(kVirtualDrives);
    }

    void TearDown() override
    {
        if (m_saved)
            setenv(kVirtualDrives, m_saved->c_str(), 1);
        else
            unsetenv(kVirtualDrives);
    }

    // A virtual drive: a directory holding a one-track image of the given sector count.
    fs::path makeDrive(const std::string& name, uint32_t sectors)
    {
        const fs::path directory = m_dir / name;
        fs::create_directory(directory);
        writeFile(directory / "disc.cue", kOneTrackSheet);
        writeFile(directory / "disc.bin", patternBytes(sectors, sectors));
        return directory;
    }

    static std::vector<std::string> physicalDrives()
    {
        unsetenv(kVirtualDrives);
        size_t count = 0;
        char** names = cueify_device_get_all_devices(&count);
        std::vector<std::string> drives(names, names + count);
        std::free(names);
        return drives;
    }

    static size_t openDescriptors()
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
    }

    TempDir m_dir;

private:
    std::optional<std::string> m_saved;
};

TEST_F(DeviceApi, NullHandleOrEmptyNameIsABadArgument)
{
    const DeviceOwner device(cueify_device_new());
    EXPECT_EQ(cueify_device_open(nullptr, "/dev/sr0"), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_device_open(device.get(), ""), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_device_close(nullptr), CUEIFY_ERR_BADARG);
    cueify_device_free(nullptr);
}

TEST_F(DeviceApi, NamesThatOpenNothingGiveNoDevice)
{
    writeFile(m_dir / "notes.txt", "FILE \"disc.bin\" BINARY\n");
    EXPECT_EQ(openResult((m_dir / "missing.cue").string()), CUEIFY_ERR_NO_DEVICE);
    EXPECT_EQ(openResult((m_dir / "notes.txt").string()), CUEIFY_ERR_NO_DEVICE);
    EXPECT_EQ(openResult(m_dir.path().string()), CUEIFY_ERR_NO_DEVICE);
}

TEST_F(DeviceApi, ClosedHandleReadsNothing)
{
    const DeviceOwner device(cueify_device_new());
    const TocOwner toc(cueify_full_toc_new());
    Sector sector;
    EXPECT_EQ(cueify_device_read_full_toc(device.get(), toc.get()), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_device_read_raw(device.get(), 0, sector.data()), CUEIFY_ERR_BADARG);
}

TEST_F(DeviceApi, NullArgumentsOfReadsAreBadArguments)
{
    const DeviceOwner device = openDevice(makeDrive("a", 10).string());
    ASSERT_NE(device, nullptr);
    const TocOwner toc(cueify_full_toc_new());
    Sector sector;
    EXPECT_EQ(cueify_device_read_full_toc(nullptr, toc.get()), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_device_read_full_toc(device.get(), nullptr), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_device_read_raw(nullptr, 0, sector.data()), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_device_read_raw(device.get(), 0, nullptr), CUEIFY_ERR_BADARG);
}

TEST_F(DeviceApi, ReadingTheTocClearsItFirst)
{
    const DeviceOwner device = openDevice(makeDrive("a", 10).string());
    ASSERT_NE(device, nullptr);
    const TocOwner toc(cueify_full_toc_new());
    ASSERT_EQ(cueify_device_read_full_toc(device.get(), toc.get()), CUEIFY_OK);
    ASSERT_EQ(cueify_full_toc_get_last_session(toc.get()), 1);
    ASSERT_EQ(cueify_device_close(device.get()), CUEIFY_OK);
    EXPECT_EQ(cueify_device_read_full_toc(device.get(), toc.get()), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_full_toc_get_last_session(toc.get()), 0);
    EXPECT_EQ(text(cueify_full_toc_get_track_address(toc.get(), 1)), "00:00:00");
}

TEST_F(DeviceApi, HandleOpensAgainAfterCloseOrReplacesAnOpenDevice)
{
    const DeviceOwner device(cueify_device_new());
    ASSERT_EQ(cueify_device_open(device.get(), makeDrive("a", 10).c_str()), CUEIFY_OK);
    ASSERT_EQ(cueify_device_close(device.get()), CUEIFY_OK);
    ASSERT_EQ(cueify_device_open(device.get(), makeDrive("b", 20).c_str()), CUEIFY_OK);
    EXPECT_EQ(readSector(device.get(), 19), patternSector(20, 19));
    ASSERT_EQ(cueify_device_open(device.get(), makeDrive("c", 30).c_str()), CUEIFY_OK);
    EXPECT_EQ(readSector(device.get(), 19), patternSector(30, 19));
}

TEST_F(DeviceApi, FreeingAnOpenDeviceClosesIt)
{
    const fs::path drive = makeDrive("a", 10);
    const size_t before = openDescriptors();
    cueify_device* device = cueify_device_new();
    ASSERT_EQ(cueify_device_open(device, drive.c_str()), CUEIFY_OK);
    EXPECT_GT(openDescriptors(), before);
    cueify_device_free(device);
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(DeviceApi, AllDevicesListsVirtualDrivesAfterPhysicalOnesInOneBlock)
{
    const std::vector<std::string> physical = physicalDrives();
    const std::string a = makeDrive("a", 10).string(), b = makeDrive("b", 10).string();
    setenv(kVirtualDrives, (":" + a + "::" + b + ":").c_str(), 1);
    size_t count = 99;
    char** names = cueify_device_get_all_devices(&count);
    ASSERT_NE(names, nullptr);
    ASSERT_EQ(count, physical.size() + 2);
    EXPECT_EQ(std::vector<std::string>(names, names + physical.size()), physical);
    EXPECT_STREQ(names[count - 2], a.c_str());
    EXPECT_STREQ(names[count - 1], b.c_str());
    const char* namesArea = reinterpret_cast<const char*>(names + count);
    for (size_t i = 0; i < count; ++i)
        EXPECT_GE(names[i], namesArea) << "name " << i << " lies outside the block";
    for (size_t i = physical.size(); i < count; ++i)
        EXPECT_EQ(openResult(names[i]), CUEIFY_OK) << names[i];
    std::free(names); // the one release; the sanitizers check that it was enough
}

TEST_F(DeviceApi, NoDeviceAtAllGivesNullAndCountZero)
{
    if (!physicalDrives().empty())
        GTEST_SKIP() << "this machine has a physical drive";
    setenv(kVirtualDrives, "::", 1);
    size_t count = 99;
    EXPECT_EQ(cueify_device_get_all_devices(&count), nullptr);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(cueify_device_get_default_device(), nullptr);
    const DeviceOwner device(cueify_device_new());
    EXPECT_EQ(cueify_device_open(device.get(), nullptr), CUEIFY_ERR_NO_DEVICE);
}

TEST_F(DeviceApi, DefaultDeviceIsTheFirstListedAndOpensByNullName)
{
    const std::vector<std::string> physical = physicalDrives();
    const std::string a = makeDrive("a", 10).string();
    setenv(kVirtualDrives, a.c_str(), 1);
    const char* name = cueify_device_get_default_device();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name, physical.empty() ? a : physical.front());
    if (!physical.empty())
        return;
    const DeviceOwner device(cueify_device_new());
    ASSERT_EQ(cueify_device_open(device.get(), nullptr), CUEIFY_OK);
    EXPECT_EQ(readSector(device.get(), 9), patternSector(10, 9));
}

TEST_F(DeviceApi, DefaultDeviceNameOutlivesAChangeOfDrives)
{
    setenv(kVirtualDrives, makeDrive("a", 10).c_str(), 1);
    const char* first = cueify_device_get_default_device();
    ASSERT_NE(first, nullptr);
    const std::string kept = first;
    setenv(kVirtualDrives, makeDrive("b", 10).c_str(), 1);
    cueify_device_get_default_device();
    EXPECT_EQ(std::string(first), kept);
}

} // namespace
} // namespace cueify::test
