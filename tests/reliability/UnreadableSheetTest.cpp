// A CUE sheet the user may not read: the host gets the disc-access error as an exception, both
// when it lists the disc and when it opens one of its tracks.
#include "ScratchDirectory.h"
#include "host/PluginHost.h"
#include "host/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>

#include <filesystem>
#include <functional>
#include <string>

namespace reliability {
namespace {

std::string driveErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Vantor::Proc::CDReaderException& e) {
        return descriptionOf(e);
    }
    return "(no CDReaderException)";
}

// Root's override of file modes is dropped for this thread while the sheet is used, so that its
// mode holds for every user.
TEST(UnreadableSheet, ListingAndOpeningATrackFailWithTheDeviceError)
{
    const testsupport::ScratchDirectory directory;
    const TestDisc disc(directory.path(), mkdisc::DataFileFormat::Binary, false);
    const PluginHost host;
    const std::string sheet = disc.written.cueSheet.string();
    std::filesystem::permissions(directory.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(sheet, std::filesystem::perms::none);
    const int fileSystemUser = setfsuid(65534);
    const std::string listing = driveErrorOf([&] { host.readDisc(sheet); });
    const std::string opening = driveErrorOf([&] { host.open(PluginHost::trackPath(sheet, 1)); });
    setfsuid(static_cast<uid_t>(fileSystemUser));
    const std::string expected =
        "Cannot open cueify device " + sheet + ". Cueify error: The device could not be opened.";
    EXPECT_EQ(listing, expected);
    EXPECT_EQ(opening, expected);
}

} // namespace
} // namespace reliability
