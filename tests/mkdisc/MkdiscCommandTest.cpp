// Runs the built mkdisc command as a user would.
#include "TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace mkdisc {
namespace {

struct CommandRun
{
    int exitCode;
    std::string output; // standard output and error
};

CommandRun runMkdisc(const std::string& arguments)
{
    const std::string command = std::string("'") + MKDISC_COMMAND + "' " + arguments + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    char buffer[256];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(MkdiscCommand, WritesTheDescribedDisc)
{
    test::TempDirectory directory;
    const std::filesystem::path out = directory.path() / "out";
    const CommandRun run =
        runMkdisc("--out " + out.string() +
                  " --name demo audio:300,flags=dcp+pre audio:150,pregap=75 audio:100,silence=150"
                  " --session mode1:200,byte16=0");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // Audio starts 00:02:00, 00:07:00 (LBA 375) and 00:11:00 (LBA 675).
    EXPECT_EQ(run.output, "cue sheet: " + (out / "demo.cue").string() +
                              "\n"
                              "tracks: 4 in 2 session(s)\n"
                              "data files: 1, cda files: 3\n"
                              "serial: 00001400\n");
    EXPECT_EQ(test::fileNamesIn(out), (std::vector<std::string>{"Track01.cda", "Track02.cda", "Track03.cda",
                                                                "demo.bin", "demo.cue"}));
    const std::string cue = test::readText(out / "demo.cue");
    EXPECT_NE(cue.find("REM SESSION 02\n  TRACK 04 MODE1/2352\n"), std::string::npos) << cue;
    EXPECT_NE(cue.find("    FLAGS DCP PRE\n"), std::string::npos) << cue;
}

TEST(MkdiscCommand, WaveAndFilePerTrackOptions)
{
    test::TempDirectory directory;
    const CommandRun run = runMkdisc("--out " + directory.path().string() +
                                     " --wave --file-per-track --no-cda audio:2 / audio:3");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(test::fileNamesIn(directory.path()),
              (std::vector<std::string>{"disc (Track 01).wav", "disc (Track 02).wav", "disc.cue"}));
}

TEST(MkdiscCommand, BadDescriptionFailsWithOneLineAndExitCodeTwo)
{
    test::TempDirectory directory;
    const std::string out = "--out " + directory.path().string() + " ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {out + "audio:ten", "mkdisc: bad track \"audio:ten\": sector count \"ten\" is not a number from 0 to "
                            "4294967295\n"},
        {out + "--wave audio:1 mode1:1", "mkdisc: track 2 is a data track: WAVE files hold audio only\n"},
        {out + "audio:1 --session", "mkdisc: session 2 has no tracks\n"},
        {"audio:1", "mkdisc: --out is required (see --help)\n"},
    };
    for (const auto& [arguments, message] : cases) {
        const CommandRun run = runMkdisc(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.output, message);
    }
    EXPECT_TRUE(test::fileNamesIn(directory.path()).empty());
}

} // namespace
} // namespace mkdisc
