// vantor-cd play, run as a user would: the PCM goes to standard output.
#include "CommandRunner.h"
#include "TempDirectory.h"
#include "TestDisc.h"

#include <gtest/gtest.h>

namespace vantorcd::test {
namespace {

TEST(PlayCommand, WritesTheTrackSectorsToStandardOutput)
{
    const TempDirectory directory;
    const TestDisc disc = writeTestDisc(enhancedDisc(), directory.path());
    const CommandResult result = runVantorCd({"play", disc.trackPath(2)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<uint8_t> pcm = disc.trackPcm(2);
    EXPECT_TRUE(std::string(pcm.begin(), pcm.end()) == result.out);
}

TEST(PlayCommand, RangeIsCutLikeARip)
{
    const TempDirectory directory;
    const TestDisc disc = writeTestDisc(enhancedDisc(), directory.path());
    const CommandResult result = runVantorCd({"play", disc.trackPath(1), "--from", "1", "--to", "1.5"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::vector<uint8_t> pcm = disc.trackPcm(1);
    EXPECT_TRUE(std::string(pcm.begin() + 44100 * 4, pcm.begin() + 66150 * 4) == result.out);
}

} // namespace
} // namespace vantorcd::test
