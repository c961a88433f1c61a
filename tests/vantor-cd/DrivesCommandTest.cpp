// vantor-cd drives, with virtual drives (physical ones, if the machine has any, come first).
#include "CommandRunner.h"
#include "TempDirectory.h"
#include "TestDisc.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantorcd::test {
namespace {

TEST(DrivesCommand, TellsAudioDiscsAndEmptyDrivesApart)
{
    const TempDirectory directory;
    const std::filesystem::path enhanced = directory.path() / "enhanced";
    const std::filesystem::path empty = directory.path() / "empty";
    writeTestDisc(enhancedDisc(), enhanced);
    std::filesystem::create_directory(empty);
    const CommandResult result =
        runVantorCd({"drives"}, {{{"CUEIFY_VIRTUAL_DRIVES", enhanced.string() + ":" + empty.string()}}, {}});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::string> lines = result.outLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string>{enhanced.string() + ": audio disc, 3 tracks (2 audio, 1 data)",
                                        empty.string() + ": no disc"}));
}

} // namespace
} // namespace vantorcd::test
