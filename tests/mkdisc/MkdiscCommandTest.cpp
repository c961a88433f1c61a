// Runs the built mkdisc command as a user would.
#include "mkdisc/CdaFile.h"
#include "mkdisc/DiscWriter.h"

#include "ScratchDirectory.h"
#include "wave/WaveFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <utility>

namespace mkdisc {
namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The largest magnitude of the 16-bit little-endian samples in a run of audio bytes.
int peakOf(const std::string& pcm)
{
    int peak = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(uint8_t(pcm[i]) | uint8_t(pcm[i + 1]) << 8)));
    return peak;
}

// The exit code, and what the command wrote to standard output and error.
std::pair<int, std::string> runMkdisc(const std::string& arguments)
{
    const testsupport::ScratchDirectory captured;
    const std::string output = (captured.path() / "output").string();
    const int status = std::system(("'" MKDISC_COMMAND "' " + arguments + " >'" + output + "' 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(output)};
}

TEST(MkdiscCommand, WritesCueSheetBinaryAndCdaFilesOfTheDescribedDisc)
{
    testsupport::ScratchDirectory directory;
    const std::string out = directory.path().string();
    ASSERT_EQ(runMkdisc("--out " + out +
                        " --name demo audio:80,flags=dcp+4ch+pre audio:90,pregap=30,silence=20,index2=40 "
                        "/ mode1:40,pregap=10,silence=5,byte16=2"),
              std::make_pair(0, "cue sheet: " + out +
                                    "/demo.cue\ntracks: 3 in 2 session(s)\ndata files: 1, cda files: 2\n"
                                    "serial: 00000446\n"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 4);
    EXPECT_EQ(readFile(out + "/demo.cue"), "REM SESSION 01\n"
                                           "FILE \"demo.bin\" BINARY\n"
                                           "  TRACK 01 AUDIO\n"
                                           "    FLAGS DCP 4CH PRE\n"
                                           "    INDEX 01 00:00:00\n"
                                           "  TRACK 02 AUDIO\n"
                                           "    PREGAP 00:00:20\n"
                                           "    INDEX 00 00:01:05\n"
                                           "    INDEX 01 00:01:35\n"
                                           "    INDEX 02 00:02:00\n"
                                           "REM SESSION 02\n"
                                           "  TRACK 03 MODE1/2352\n"
                                           "    PREGAP 00:00:05\n"
                                           "    INDEX 00 00:02:50\n"
                                           "    INDEX 01 00:02:60\n");
    // Two audio tracks: the serial packs session 1's lead-out, LBA 220 = 00:04:70.
    const std::array<uint8_t, 44> cda = encodeCdaFile({2, 0x000446, 130, 90});
    EXPECT_EQ(readFile(out + "/Track02.cda"), std::string(cda.begin(), cda.end()));

    const std::string binary = readFile(out + "/demo.bin");
    ASSERT_EQ(binary.size(), 250u * kRawSectorBytes);
    // The data track's stored pregap starts at LBA 220 + 11,400 + 5 (02:37:00): sync, BCD address,
    // mode 1 and byte 16. The other sectors are compared with the writer's where images are read back.
    EXPECT_EQ(binary.substr(200 * kRawSectorBytes, 17),
              std::string("\0\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\0\x02\x37\x00\x01\x02", 17));
}

TEST(MkdiscCommand, WaveFileAndFilesPerTrackHoldTheBinarysBytesAndAStoredPregapIsQuieter)
{
    testsupport::ScratchDirectory directory;
    const std::string out = directory.path().string();
    ASSERT_EQ(runMkdisc("--out " + out + "/bin audio:30 audio:20,pregap=10,silence=5").first, 0);
    ASSERT_EQ(runMkdisc("--out " + out + "/wav --wave audio:30 audio:20,pregap=10,silence=5").first, 0);
    const std::string single = readFile(out + "/bin/disc.bin");
    EXPECT_EQ(readFile(out + "/wav/disc.wav"),
              wavefile::riffWave(wavefile::plainFormat() + wavefile::chunk("data", single)));
    // Track 2's own file starts with its stored pregap, 30 sectors into the single file.
    ASSERT_EQ(
        runMkdisc("--out " + out + "/split --file-per-track audio:30 audio:20,pregap=10,silence=5").first, 0);
    const std::string track2 = readFile(out + "/split/disc (Track 02).bin");
    EXPECT_EQ(track2, single.substr(30 * kRawSectorBytes));
    // The stored pregap's tone is 20 dB, a tenth of the amplitude, below the track's.
    EXPECT_NEAR(10.0 * peakOf(track2.substr(0, 10 * kRawSectorBytes)) /
                    peakOf(track2.substr(10 * kRawSectorBytes)),
                1.0, 0.01);
}

TEST(MkdiscCommand, BadDescriptionFailsWithOneLineAndExitCodeTwo)
{
    testsupport::ScratchDirectory directory;
    const std::string out = "--out " + directory.path().string() + " ";
    std::string hundredTracks = out;
    for (int i = 0; i < 100; ++i)
        hundredTracks += "audio:1 ";
    const std::pair<std::string, std::string> cases[] = {
        {out + "audio:ten",
         "bad track \"audio:ten\": sector count \"ten\" is not a number from 0 to 4294967295"},
        {out + "cdda:10", "bad track \"cdda:10\": unknown track kind \"cdda\" (audio, mode1 or mode2)"},
        {out + "audio:1 --session", "session 2 has no tracks"},
        {hundredTracks, "a disc holds at most 99 tracks, not 100"},
        {out + "audio:449850", "the disc does not fit in 99:59:74"},
        {out + "--wave audio:1 mode1:1", "track 2 is a data track: WAVE files hold audio only"},
        {out + "--name 'a\"b' audio:1", "disc name \"a\"b\" has a character a CUE sheet cannot hold"},
        {"audio:1", "--out is required (see --help)"},
    };
    for (const auto& [arguments, message] : cases)
        EXPECT_EQ(runMkdisc(arguments), std::make_pair(2, "mkdisc: " + message + "\n")) << arguments;
    EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
}

} // namespace
} // namespace mkdisc
