// vantor-cd rip, run as a user would, on images written at test time.
#include "AudioDecoding.h"
#include "CommandRunner.h"
#include "TempDirectory.h"
#include "TestDisc.h"

#include <gtest/gtest.h>

namespace vantorcd::test {
namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

class RipCommand : public ::testing::Test
{
protected:
    std::string output(const std::string& name) const { return (outDirectory / name).string(); }

    TempDirectory directory;
    TestDisc disc = writeTestDisc(enhancedDisc(), directory.path() / "disc");
    std::filesystem::path outDirectory = [this] {
        std::filesystem::create_directory(directory.path() / "out");
        return directory.path() / "out";
    }();
};

TEST_F(RipCommand, WaveHoldsTheTrackSectorsByteForByte)
{
    for (unsigned track : {1u, 2u}) {
        const std::string wav = output("track" + std::to_string(track) + ".wav");
        const CommandResult result = runVantorCd({"rip", disc.trackPath(track), "-o", wav});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, "wrote " + wav + "\n");
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(waveDataChunk(wav), disc.trackPcm(track)) << "track " << track;
    }
}

TEST_F(RipCommand, EveryOutputTypeDecodesToTheTrackSamples)
{
    const struct
    {
        const char* name;
        const char* container;
        const char* codec;
    } cases[] = {
        {"out.wav", "wav", "pcm_s16le"}, {"out.flac", "flac", "flac"}, {"out.aiff", "aiff", "pcm_s16be"}};
    for (const auto& c : cases) {
        const CommandResult result = runVantorCd({"rip", disc.trackPath(1), "-o", output(c.name)});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const DecodedAudio audio = decodeAudioFile(output(c.name));
        EXPECT_EQ(audio.container, c.container);
        EXPECT_EQ(audio.codec, c.codec);
        EXPECT_EQ(audio.sampleRate, 44100);
        EXPECT_EQ(audio.channels, 2);
        EXPECT_TRUE(audio.pcm == disc.trackPcm(1)) << c.name;
    }
}

TEST_F(RipCommand, FromAndToCutAtTheNearestSample)
{
    const struct
    {
        std::vector<std::string> range;
        size_t firstSample;
        size_t sampleCount;
    } cases[] = {
        {{"--from", "0.5", "--to", "1.25"}, 22050, 33075},
        {{"--from", "0:01.001"}, 44144, 111720 - 44144},
        {{"--to", "0:00.010"}, 0, 441},
        {{"--from", "2.3", "--to", "9"}, 101430, 111720 - 101430}, // past the whole seconds; stops at the end
    };
    const Bytes pcm = disc.trackPcm(1);
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"rip", disc.trackPath(1), "-o", output("cut.flac")};
        arguments.insert(arguments.end(), c.range.begin(), c.range.end());
        const CommandResult result = runVantorCd(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const Bytes expected(pcm.begin() + static_cast<long>(c.firstSample * 4),
                             pcm.begin() + static_cast<long>((c.firstSample + c.sampleCount) * 4));
        const Bytes decoded = decodeAudioFile(output("cut.flac")).pcm;
        EXPECT_EQ(decoded.size(), c.sampleCount * 4) << c.range[1];
        EXPECT_TRUE(decoded == expected) << c.range[1];
    }
}

TEST_F(RipCommand, NoArgumentsWritesTheDemoFirstTrackHere)
{
    const CommandResult result = runVantorCd({"rip"}, {{}, outDirectory});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "wrote track01.wav\n");
    const Bytes demoImage = readBytes(std::filesystem::path(VANTOR_CD_DEMO_CUE).replace_extension(".bin"));
    const size_t trackBytes = 340 * 2352;
    ASSERT_GE(demoImage.size(), trackBytes);
    EXPECT_TRUE(waveDataChunk(outDirectory / "track01.wav") ==
                Bytes(demoImage.begin(), demoImage.begin() + trackBytes));
}

TEST_F(RipCommand, UserErrorsGiveOneLineAndLeaveNoFile)
{
    const std::string wav = output("out.wav");
    const std::string missingCda = (directory.path() / "Track09.cda").string();
    const std::string noDirectory = (directory.path() / "no-such-dir" / "out.wav").string();
    const struct
    {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{disc.trackPath(3), "-o", wav}, "track 3 of " + disc.cueSheet() + " is a data track, not audio"},
        {{missingCda, "-o", wav}, missingCda + ": no such file"},
        {{disc.trackPath(1), "-o", noDirectory},
         "cannot write " + noDirectory + ": No such file or directory"},
        {{disc.trackPath(1), "-o", output("out.mp3")},
         "cannot write " + output("out.mp3") + ": unknown audio file type .mp3 (use .wav, .flac or .aiff)"},
        {{disc.trackPath(1), "-o", wav, "--from", "1:75"},
         "--from: bad time \"1:75\": use seconds (90, 12.5) or m:ss(.fff) (1:30, 0:04.250)"},
        {{disc.trackPath(1), "-o", wav, "--from", "3"},
         "--from 0:03.000 is past the end of the track (0:02.533)"},
        {{disc.trackPath(1), "-o", wav, "--from", "2", "--to", "1.5"},
         "--to 0:01.500 is not after --from 0:02.000"},
        {{disc.trackPath(7), "-o", wav}, "the disc in " + disc.cueSheet() + " has no track 7 (it has 3)"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"rip"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const CommandResult result = runVantorCd(arguments);
        EXPECT_EQ(result.exitCode, 1) << c.message;
        EXPECT_EQ(result.errLines(), Lines{"vantor-cd: " + c.message});
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(fileNamesIn(outDirectory).empty()) << c.message;
    }
}

TEST_F(RipCommand, ReadErrorStopsWithTheSectorNamedAndKeepsTheOldFile)
{
    const std::string wav = output("out.wav");
    writeText(wav, "old");
    const mkdisc::TrackLayout& track = disc.track(2);
    const uint32_t badLba = track.startLba + 100; // session 1 lies in the data file from LBA 0
    CommandSetup faulty;
    faulty.environment = {{"LD_PRELOAD", VANTOR_CD_FAULTY_READ},
                          {"FAULTY_READ_FILE", disc.written.dataFiles.at(0).string()},
                          {"FAULTY_READ_OFFSET", std::to_string(uint64_t{badLba} * 2352)}};
    const CommandResult result = runVantorCd({"rip", disc.trackPath(2), "-o", wav}, faulty);
    EXPECT_EQ(result.exitCode, 1);
    ASSERT_EQ(result.errLines().size(), 1u) << result.err;
    const std::string expected =
        "vantor-cd: cannot read sector 100 of track 2 (LBA " + std::to_string(badLba) + "): ";
    EXPECT_EQ(result.errLines()[0].substr(0, expected.size()), expected);
    EXPECT_GT(result.errLines()[0].size(), expected.size()) << "the reason is missing";
    EXPECT_EQ(fileNamesIn(outDirectory), Lines{"out.wav"});
    EXPECT_EQ(readText(wav), "old");
}

} // namespace
} // namespace vantorcd::test
