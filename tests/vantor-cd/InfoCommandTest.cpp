// vantor-cd info, run as a user would.
#include "CommandRunner.h"
#include "TempDirectory.h"
#include "TestDisc.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantorcd::test {
namespace {

using Lines = std::vector<std::string>;

bool hasLine(const Lines& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(InfoCommand, DescribesTheTrackAsThePluginDoes)
{
    const TempDirectory directory;
    const TestDisc disc = writeTestDisc(enhancedDisc(), directory.path());
    const CommandResult result = runVantorCd({"info", disc.trackPath(2)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const Lines lines = result.outLines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 7), (Lines{
                                                           "track     " + disc.trackPath(2),
                                                           "number    2",
                                                           "drive     " + disc.cueSheet(),
                                                           "duration  0:03 (230 sectors)",
                                                           "size      529200 bytes",
                                                           "",
                                                           "container",
                                                       }));
    EXPECT_TRUE(hasLine(lines, "  track: \"2\""));
    EXPECT_TRUE(hasLine(lines, "  filename: \"" + disc.trackPath(2) + "\""));
    EXPECT_TRUE(hasLine(lines, "stream 0 (audio)"));
    EXPECT_TRUE(hasLine(lines, "  sample_rate: 44100"));
    EXPECT_TRUE(hasLine(lines, "  bitrate: 1411200"));
    EXPECT_TRUE(hasLine(lines, "    stream_id: 0"));
}

TEST(InfoCommand, DemoTrackOneByDefault)
{
    const std::string cue = std::filesystem::canonical(VANTOR_CD_DEMO_CUE).string();
    const CommandResult result = runVantorCd({"info"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ASSERT_FALSE(result.outLines().empty());
    EXPECT_EQ(result.outLines()[0], "track     cdda://" + cue + "#track1.cda");
}

TEST(InfoCommand, DataTrackIsRefused)
{
    const TempDirectory directory;
    const TestDisc disc = writeTestDisc(enhancedDisc(), directory.path());
    const CommandResult result = runVantorCd({"info", disc.trackPath(3)});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errLines(),
              Lines{"vantor-cd: track 3 of " + disc.cueSheet() + " is a data track, not audio"});
}

} // namespace
} // namespace vantorcd::test
