#include <cueify/cueify.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct DeviceFree
{
    void operator()(cueify_device* d) const { cueify_device_free(d); }
};

struct BlockFree
{
    void operator()(char** block) const { std::free(block); }
};

// A fresh directory under the system's temporary folder, removed with everything in it.
class TemporaryDirectory
{
public:
    TemporaryDirectory()
    {
        std::string pattern = (fs::temp_directory_path() / "cueify-drive-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TemporaryDirectory() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

int openResult(const std::string& name)
{
    std::unique_ptr<cueify_device, DeviceFree> device(cueify_device_new());
    return cueify_device_open(device.get(), name.c_str());
}

std::vector<std::string> allDevices(size_t& count)
{
    std::unique_ptr<char*, BlockFree> block(cueify_device_get_all_devices(&count));
    std::vector<std::string> names;
    for (size_t i = 0; block && i < count; ++i)
        names.emplace_back(block.get()[i]);
    return names;
}

// The nodes through which Linux offers optical drives.
bool machineHasOpticalDrive()
{
    return fs::exists("/dev/sr0") || fs::exists("/dev/cdrom");
}

class Drives : public testing::Test
{
protected:
    void SetUp() override
    {
        if (machineHasOpticalDrive())
            GTEST_SKIP() << "expects a machine without an optical drive";
        ::unsetenv("CUEIFY_VIRTUAL_DRIVES");
    }
    void TearDown() override { ::unsetenv("CUEIFY_VIRTUAL_DRIVES"); }

    TemporaryDirectory scratch;
};

TEST_F(Drives, OpenRefusesPathsThatAreNoDrive)
{
    fs::path text = scratch.path() / "notes.txt";
    std::ofstream(text) << "not a disc\n";
    fs::path emptyDirectory = scratch.path() / "empty";
    fs::create_directory(emptyDirectory);
    for (const fs::path& path : {fs::path("/dev/null"), emptyDirectory, text, scratch.path() / "missing"})
        EXPECT_EQ(openResult(path.string()), CUEIFY_ERR_NO_DEVICE) << path;
}

TEST_F(Drives, MachineWithoutDrivesListsNothing)
{
    size_t count = 7;
    EXPECT_TRUE(allDevices(count).empty());
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(cueify_device_get_default_device(), nullptr);
    EXPECT_EQ(openResult(std::string()), CUEIFY_ERR_BADARG);
    std::unique_ptr<cueify_device, DeviceFree> device(cueify_device_new());
    EXPECT_EQ(cueify_device_open(device.get(), nullptr), CUEIFY_ERR_NO_DEVICE);
}

TEST_F(Drives, MachineWithoutDrivesListsOnlyVirtualDrives)
{
    ::setenv("CUEIFY_VIRTUAL_DRIVES", "/discs/first:/discs/second", 1);
    size_t count = 0;
    EXPECT_EQ(allDevices(count), (std::vector<std::string>{"/discs/first", "/discs/second"}));
    EXPECT_EQ(count, 2u);
}

} // namespace
