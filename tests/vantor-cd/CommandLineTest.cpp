// What vantor-cd makes of its command line and its shell: usage errors, cut times that fall between
// two samples, and the mode of the files it writes. Runs the built binary on the demo disc.
#include "ScratchDirectory.h"

#include <discgeometry/DiscGeometry.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <sys/stat.h>
#include <sys/wait.h>

namespace vantorcd {
namespace {

using discgeometry::kRawSectorBytes;
constexpr uint32_t kTrack1Sectors = 340;

struct Result
{
    int exitCode;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a program from a shell after the shell command `before`, with no virtual drives.
Result run(const std::vector<std::string>& arguments, const std::string& before = "true",
           const std::string& program = VANTOR_CD_BINARY)
{
    const testsupport::ScratchDirectory captures;
    const std::filesystem::path out = captures.path() / "out", err = captures.path() / "err";
    std::string line = before + " && CUEIFY_VIRTUAL_DRIVES= " + quoted(program);
    for (const std::string& word : arguments)
        line += " " + quoted(word);
    const int status = std::system((line + " </dev/null >" + quoted(out) + " 2>" + quoted(err)).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

std::filesystem::path demoCue()
{
    return std::filesystem::canonical(VANTOR_CD_DEMO_CUE);
}

std::string demoTrack1()
{
    return "cdda://" + demoCue().string() + "#track1.cda";
}

// Samples of demo track 1, which starts demo.bin, as signed 16-bit little-endian stereo.
std::string track1Pcm(size_t firstSample, size_t sampleCount)
{
    const std::string track =
        readFile(demoCue().replace_extension(".bin")).substr(0, kTrack1Sectors * kRawSectorBytes);
    return track.substr(firstSample * 4, sampleCount * 4);
}

class CommandLine : public ::testing::Test
{
protected:
    std::string output(const std::string& name) const { return (scratch.path() / name).string(); }

    testsupport::ScratchDirectory scratch;
};

TEST_F(CommandLine, MalformedCommandLineExitsWithTwoAndOneLineNamingTheProblem)
{
    const struct
    {
        std::vector<std::string> arguments;
        std::string problem;
    } cases[] = {
        {{}, "a command is required: drives, list, info, rip, rip-disc, play or cda"},
        {{"burn"}, "unknown command 'burn' (drives, list, info, rip, rip-disc, play or cda)"},
        {{"rip", "--bogus"}, "The following argument was not expected: --bogus"},
        {{"rip", demoTrack1(), "--from"}, "--from: 1 required TEXT missing"},
        {{"rip", demoTrack1(), "--speed", "0"},
         "--speed: '0' is no speed: give a whole multiple of 1x, or max"},
        {{"play", demoTrack1(), "--speed", "-2"},
         "--speed: '-2' is no speed: give a whole multiple of 1x, or max"},
        {{"rip-disc", "--speed", "fast"}, "--speed: 'fast' is no speed: give a whole multiple of 1x, or max"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        const Result result = run(c.arguments, "cd " + quoted(scratch.path()));
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "vantor-cd: " + c.problem + " (see vantor-cd --help)\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

// 0.019 s is sample 837.9, 0.041 s sample 1808.1; 34 us is sample 1.499, 35 us sample 1.543.
TEST_F(CommandLine, CutTimesBetweenTwoSamplesLandOnTheNearestSample)
{
    const struct
    {
        std::string from, to;
        size_t firstSample, sampleCount;
    } cases[] = {{"0.019", "0.041", 838, 970}, {"0.000034", "0.000035", 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        const Result rip =
            run({"rip", demoTrack1(), "-o", output("cut.wav"), "--from", c.from, "--to", c.to});
        ASSERT_EQ(rip.exitCode, 0) << rip.err;
        const Result decoded =
            run({"-v", "error", "-i", output("cut.wav"), "-f", "s16le", "-"}, "true", "ffmpeg");
        EXPECT_TRUE(decoded.out == track1Pcm(c.firstSample, c.sampleCount));
        EXPECT_TRUE(run({"play", demoTrack1(), "--from", c.from, "--to", c.to}).out ==
                    track1Pcm(c.firstSample, c.sampleCount));
    }
}

TEST_F(CommandLine, WrittenFileHasTheModeOfANewFileUnderTheUmask)
{
    const std::pair<const char*, std::filesystem::perms> cases[] = {{"000", std::filesystem::perms(0666)},
                                                                    {"022", std::filesystem::perms(0644)},
                                                                    {"077", std::filesystem::perms(0600)},
                                                                    {"257", std::filesystem::perms(0420)}};
    for (const auto& [umask, mode] : cases) {
        SCOPED_TRACE(umask);
        const std::string file = output(std::string(umask) + ".flac");
        ASSERT_EQ(
            run({"rip", demoTrack1(), "-o", file, "--to", "0.1"}, std::string("umask ") + umask).exitCode, 0);
        EXPECT_EQ(std::filesystem::status(file).permissions(), mode);
    }
}

} // namespace
} // namespace vantorcd
