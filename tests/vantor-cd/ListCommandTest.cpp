// vantor-cd list, run as a user would.
#include "CommandRunner.h"
#include "TempDirectory.h"
#include "TestDisc.h"

#include <gtest/gtest.h>

namespace vantorcd::test {
namespace {

using Lines = std::vector<std::string>;

TEST(ListCommand, DemoDiscByDefault)
{
    const std::string cue = std::filesystem::canonical(VANTOR_CD_DEMO_CUE).string();
    const CommandResult result = runVantorCd({"list"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    // 340, 465 and 390 sectors of audio, then 300 of data after the gap between the sessions.
    EXPECT_EQ(result.outLines(), (Lines{
                                     "disc      " + cue,
                                     "tracks    4",
                                     "duration  2:53",
                                     "",
                                     "  #  duration  type   track path",
                                     "  1      0:04  audio  cdda://" + cue + "#track1.cda",
                                     "  2      0:06  audio  cdda://" + cue + "#track2.cda",
                                     "  3      0:05  audio  cdda://" + cue + "#track3.cda",
                                     "  4      0:04  data   cdda://" + cue + "#track4.cda",
                                 }));
}

TEST(ListCommand, ImageOfAnEnhancedCd)
{
    const TempDirectory directory;
    const TestDisc disc = writeTestDisc(enhancedDisc(), directory.path());
    const CommandResult result = runVantorCd({"list", disc.cueSheet()});
    EXPECT_EQ(result.exitCode, 0);
    // Track 1 runs up to track 2's INDEX 01 (190 sectors); the disc ends at its second lead-out, 02:40:60.
    EXPECT_EQ(result.outLines(), (Lines{
                                     "disc      " + disc.cueSheet(),
                                     "tracks    3",
                                     "duration  2:40",
                                     "",
                                     "  #  duration  type   track path",
                                     "  1      0:02  audio  " + disc.trackPath(1),
                                     "  2      0:03  audio  " + disc.trackPath(2),
                                     "  3      0:01  data   " + disc.trackPath(3),
                                 }));
}

TEST(ListCommand, PathWithoutADiscFailsWithOneLine)
{
    const TempDirectory directory;
    const std::string missing = (directory.path() / "missing.cue").string();
    const CommandResult noPath = runVantorCd({"list", missing});
    EXPECT_EQ(noPath.exitCode, 1);
    EXPECT_EQ(noPath.errLines(), Lines{"vantor-cd: " + missing + ": no such file or directory"});

    const std::string empty = directory.path().string();
    const CommandResult noDisc = runVantorCd({"list", empty});
    EXPECT_EQ(noDisc.exitCode, 1);
    ASSERT_EQ(noDisc.errLines().size(), 1u) << noDisc.err;
    EXPECT_EQ(noDisc.errLines()[0].rfind("vantor-cd: " + empty + " holds no disc: ", 0), 0u) << noDisc.err;
    EXPECT_EQ(noDisc.out, "");
}

} // namespace
} // namespace vantorcd::test
