// The device C API over disc images: argument checks, the life of a handle, the list of drives.
#include "EmulatedDrives.h"
#include "cueify_testing/CueifyTesting.h"

#include <mkdisc/DiscWriter.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace cueify::test {
namespace {

class DeviceApi : public ::testing::Test
{
protected:
    void SetUp() override { unsetenv("CUEIFY_VIRTUAL_DRIVES"); }
    void TearDown() override { unsetenv("CUEIFY_VIRTUAL_DRIVES"); }

    // A virtual drive: a directory holding an image of one audio track of that many sectors.
    std::string drive(const std::string& name, uint32_t sectors)
    {
        const mkdisc::DiscDescription disc{"disc", {{{{mkdisc::TrackMode::Audio, sectors}}}}};
        return mkdisc::writeDisc(disc, m_scratch.path() / name).cueSheet.parent_path().string();
    }

    testsupport::ScratchDirectory m_scratch;
};

TEST_F(DeviceApi, NullHandlesEmptyNamesAndClosedHandlesAreBadArgumentsAndPathsWithoutADiscAreNoDevice)
{
    const DeviceOwner open = openDevice(drive("a", 10)), closed(cueify_device_new());
    const TocOwner toc(cueify_full_toc_new());
    const CdTextOwner cdText(cueify_cdtext_new());
    Sector sector;
    EXPECT_EQ((std::vector<int>{cueify_device_open(nullptr, "a"), cueify_device_open(closed.get(), ""),
                                cueify_device_close(nullptr), cueify_device_read_full_toc(nullptr, toc.get()),
                                cueify_device_read_full_toc(open.get(), nullptr),
                                cueify_device_read_full_toc(closed.get(), toc.get()),
                                cueify_device_read_raw(nullptr, 0, sector.data()),
                                cueify_device_read_raw(open.get(), 0, nullptr),
                                cueify_device_read_raw(closed.get(), 0, sector.data()),
                                cueify_device_read_cdtext(nullptr, cdText.get()),
                                cueify_device_read_cdtext(open.get(), nullptr),
                                cueify_device_read_cdtext(closed.get(), cdText.get())}),
              std::vector<int>(12, CUEIFY_ERR_BADARG));
    cueify_device_free(nullptr);
    const fs::path twoSheets = drive("two", 10), text = m_scratch.path() / "sheet.txt";
    fs::copy_file(twoSheets / "disc.cue", twoSheets / "copy.cue");
    fs::copy_file(twoSheets / "disc.cue", text);
    for (const fs::path& path :
         {fs::path("/dev/null"), m_scratch.path(), text, twoSheets / "none", twoSheets})
        openDevice(path, CUEIFY_ERR_NO_DEVICE);
}

// A closed handle clears the TOC it is asked for and opens again; freeing an open one closes it.
TEST_F(DeviceApi, HandleOpensAgainAfterCloseAndClosesWhenFreed)
{
    const auto openDescriptors = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const std::string a = drive("a", 10), c = drive("c", 30);
    const auto before = openDescriptors();
    DeviceOwner device = openDevice(a);
    const TocOwner toc = readToc(device.get());
    ASSERT_EQ(cueify_device_close(device.get()), CUEIFY_OK);
    EXPECT_EQ(cueify_device_read_full_toc(device.get(), toc.get()), CUEIFY_ERR_BADARG);
    EXPECT_EQ(describeToc(toc.get()), "");
    ASSERT_EQ(cueify_device_open(device.get(), c.c_str()), CUEIFY_OK);
    EXPECT_EQ(msfText(cueify_full_toc_get_session_leadout_address(readToc(device.get()).get(), 1)),
              "00:02:30");
    EXPECT_GT(openDescriptors(), before);
    device.reset();
    EXPECT_EQ(openDescriptors(), before);
}

// The machine's drives are hidden (the program runs under the drive emulator with no drives), so
// the first virtual drive is the default. Virtual drives after physical ones: the drives command's test.
TEST_F(DeviceApi, VirtualDrivesAreListedInOneFreeableBlockAndTheFirstIsTheDefault)
{
    size_t count = 99;
    EXPECT_EQ(cueify_device_get_all_devices(&count), nullptr);
    EXPECT_EQ(count, 0u);
    const std::string a = drive("a", 10), b = drive("b", 20);
    setenv("CUEIFY_VIRTUAL_DRIVES", (":" + a + "::" + b + ":").c_str(), 1);
    char** names = cueify_device_get_all_devices(&count);
    ASSERT_EQ(std::vector<std::string>(names, names + count), (std::vector<std::string>{a, b}));
    EXPECT_GE(*std::min_element(names, names + count),
              reinterpret_cast<char*>(names + count)); // in the block
    std::free(names); // the one release; the sanitizers check that it was enough
    const char* defaultName = cueify_device_get_default_device();
    ASSERT_NE(defaultName, nullptr);
    setenv("CUEIFY_VIRTUAL_DRIVES", b.c_str(), 1);
    ASSERT_NE(cueify_device_get_default_device(), nullptr);
    EXPECT_EQ(defaultName, a); // still valid after the change
    const DeviceOwner device(cueify_device_new());
    ASSERT_EQ(cueify_device_open(device.get(), nullptr), CUEIFY_OK);
    EXPECT_EQ(msfText(cueify_full_toc_get_session_leadout_address(readToc(device.get()).get(), 1)),
              "00:02:20");
}

} // namespace
} // namespace cueify::test

int main(int argc, char** argv)
{
    testsupport::runWithEmulatedDrives(argv, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
