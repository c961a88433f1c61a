// A CUE sheet the user may not read: the host gets the disc-access error as an exception, both
// when it lists the disc and when it opens one of its tracks.
#include "ScratchDirectory.h"
#include "support/PluginHost.h"
#include "support/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

namespace reliability {
namespace {

constexpr uid_t kNobody = 65534;
constexpr int kSkipStatus = 77;

// What the check saw: "" when it saw what it expected.
using Check = std::function<std::string()>;

bool dropRoot() noexcept
{
    return ::geteuid() != 0 ||
           (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
}

// Runs the check in a child process that, when the tests run as root, first becomes the
// unprivileged user nobody, so that the file's permissions apply. The child exits with
// kSkipStatus when the file is still readable.
int runWithoutReadPermission(const std::filesystem::path& file, const Check& check)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (!dropRoot())
            ::_exit(2);
        if (::access(file.c_str(), R_OK) == 0)
            ::_exit(kSkipStatus);
        const std::string failure = check();
        std::fprintf(stderr, "%s\n", failure.c_str());
        ::_exit(failure.empty() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

template <typename Call> std::string expectDriveError(Call call, const std::string& expected)
{
    try {
        call();
        return "no exception";
    } catch (const Vantor::Proc::CDReaderException& e) {
        const std::string description = descriptionOf(e);
        return description == expected ? "" : "description \"" + description + "\"";
    } catch (const std::exception& e) {
        return std::string("another exception: ") + e.what();
    }
}

TEST(UnreadableSheet, ListingAndOpeningATrackFailWithTheDeviceError)
{
    testsupport::ScratchDirectory directory;
    const TestDisc disc(directory.path(), mkdisc::DataFileFormat::Binary, false);
    const PluginHost host;
    const std::string sheet = disc.written.cueSheet.string();
    const std::string expected =
        "Cannot open cueify device " + sheet + ". Cueify error: The device could not be opened.";
    ASSERT_EQ(::chmod(directory.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(sheet.c_str(), 0), 0);

    const int status = runWithoutReadPermission(disc.written.cueSheet, [&] {
        const std::string listing = expectDriveError([&] { host.readDisc(sheet); }, expected);
        const std::string opening =
            expectDriveError([&] { host.open(PluginHost::trackPath(sheet, 1)); }, expected);
        return listing.empty() && opening.empty() ? "" : "listing: " + listing + "; opening: " + opening;
    });

    if (status == kSkipStatus)
        GTEST_SKIP() << "the sheet stays readable for this user even without read permission";
    EXPECT_EQ(status, 0) << "the child's findings are on stderr";
}

} // namespace
} // namespace reliability
