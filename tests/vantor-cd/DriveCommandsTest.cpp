// vantor-cd on emulated drives against the same disc written as an image: the listing and the
// audio tracks' rips must match byte for byte, and a drive's faults read as they do on images.
#include "RunCommand.h"

namespace vantorcd {
namespace {

const std::string kDisc = "audio:340 audio:465 / mode1:300";

std::string trackPath(const std::string& drive, int track)
{
    return "cdda://" + drive + "#track" + std::to_string(track) + ".cda";
}

class DriveCommands : public ::testing::Test
{
protected:
    std::string output(const std::string& name) const { return (scratch.path() / name).string(); }

    // Runs a command line on a drive or an image, DISC naming it, #N its track N, FILE and DIR a
    // file and a folder removed beforehand. Standard output names the drive or image DISC and is
    // followed by the file's bytes.
    Result runOn(const std::string& drive, std::vector<std::string> arguments,
                 const Environment& environment = {})
    {
        for (std::string& word : arguments)
            word = word == "DISC"   ? drive
                   : word[0] == '#' ? trackPath(drive, std::stoi(word.substr(1)))
                   : word == "FILE" ? output("track.wav")
                   : word == "DIR"  ? output("disc")
                                    : word;
        std::filesystem::remove(output("track.wav"));
        std::filesystem::remove_all(output("disc"));
        Result result = run(arguments, environment);
        for (size_t at = result.out.find(drive); at != std::string::npos; at = result.out.find(drive, at))
            result.out.replace(at, drive.size(), "DISC");
        result.out += readFile(output("track.wav"));
        return result;
    }

    testsupport::ScratchDirectory scratch;
};

// A drive lists its disc and reads its tracks as the disc's image does. A track of a drive is read as
// rip-disc reads one, each sector until two reads agree; LBA 440 is sector 100 of track 2, at 1.33 s. --speed
// N asks for N x 177 kB/s, as Linux's CD driver turns 1x into kB/s, and 0xFFFF, the drive's fastest, once the
// command is done; a drive that refuses reads on, and an image, which has no speed, ignores it.
TEST_F(DriveCommands, ADriveListsAndReadsLikeTheImageAtTheSpeedAskedOrFailsNamingTheSector)
{
    const auto rip = [](const std::string& track, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"rip", track, "-o", "FILE"});
        return options;
    };
    const struct
    {
        const char* behaviour; // of the drive
        std::vector<std::string> arguments;
        const char* speeds; // the read speeds, kB/s, of the SET CD SPEED commands the drive received
        int exitCode;
        std::string error;
    } cases[] = {
        {"", {"list", "DISC"}, "0 0 0 0", 0, ""},
        // Other bytes on every second read.
        {"unstable=440", rip("#2", {"--from", "1.2", "--to", "0:02.5", "--speed", "max"}), "0 0 0 0", 0, ""},
        {"medium-error=440x2", {"play", "#2", "--speed", "1"}, "177 65535 0 0", 0, ""},
        {"medium-error=440", rip("#2", {"--speed", "8"}), "1416 65535 0 0", 1,
         "vantor-cd: cannot read sector 100 of track 2 (LBA 440): An internal error occured.\n"},
        {"noisy=440", rip("#2"), "0 0 0 0", 1,
         "vantor-cd: track 2 cannot be read consistently: no two of 16 reads of LBA 440 agree\n"},
        {"no-speed", rip("#2", {"--speed", "8"}), "1416 0 0 0", 0,
         "vantor-cd: /dev/sr7 keeps its own speed (the drive refuses SET CD SPEED); reading on\n"},
        {"", {"rip-disc", "DISC", "-o", "DIR", "--speed", "24"}, "4248 65535 0 0", 0, ""},
    };
    const std::string cue = writeImage(output("image"), kDisc);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour + (" " + c.arguments[0]));
        const Environment environment =
            onEmulatedDrives("/dev/sr7 counters=" + output("counters") + " " + c.behaviour + " " + kDisc);
        const Result image = runOn(cue, c.arguments);
        const Result drive = runOn("/dev/sr7", c.arguments, environment);
        EXPECT_EQ(image.exitCode, 0);
        EXPECT_EQ(image.err, "");
        EXPECT_EQ(drive.exitCode, c.exitCode);
        EXPECT_EQ(drive.err, c.error);
        // The emulator's counters=FILE: a line per counter. Rip and play read the disc's layout
        // through the disc-access library beside the plug-in's parser; both share one open of the
        // drive and the table of contents read with it.
        const std::string counters = readFile(output("counters"));
        EXPECT_NE(counters.find("\nread-speeds-kbs " + std::string(c.speeds) + "\n"), std::string::npos)
            << counters;
        if (c.arguments[0] == "rip" || c.arguments[0] == "play")
            EXPECT_NE(counters.find("\nopens 1\ntoc-reads 1\n"), std::string::npos) << counters;
        // A failed rip prints nothing and leaves no file.
        EXPECT_TRUE(drive.out == (c.exitCode == 0 ? image.out : ""));
    }
}

// Physical drives come before the virtual ones; each drive is opened once and its table of
// contents read once, an empty drive's header request failing.
TEST_F(DriveCommands, DrivesTellsAudioDiscsAndEmptyDrivesApart)
{
    const std::string demo = std::filesystem::path(VANTOR_CD_DEMO_CUE).parent_path();
    std::filesystem::create_directory(output("empty"));
    const Result result =
        run({"drives"}, onEmulatedDrives("/dev/sr7 counters=" + output("sr7") + " " + kDisc +
                                             ";/dev/sr8 counters=" + output("sr8") + ";/dev/sr9 audio:300",
                                         {{"CUEIFY_VIRTUAL_DRIVES", demo + ":" + output("empty")}}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "/dev/sr7: audio disc, 3 tracks (2 audio, 1 data)\n/dev/sr8: no disc (no readable "
                          "disc in the drive)\n/dev/sr9: audio disc, 1 track\n" +
                              demo + ": audio disc, 4 tracks (3 audio, 1 data)\n" + output("empty") +
                              ": no disc (no disc image: the folder holds no CUE sheet, or more than one)\n");
    for (const char* drive : {"sr7", "sr8"})
        EXPECT_NE(readFile(output(drive)).find("\nopens 1\ntoc-reads 1\n"), std::string::npos) << drive;
    const Result json =
        run({"drives", "--json"}, onEmulatedDrives("/dev/sr8", {{"CUEIFY_VIRTUAL_DRIVES", demo}}));
    EXPECT_EQ(
        json.out,
        "[\n  {\n    \"drive\": \"/dev/sr8\",\n    \"disc\": null,\n"
        "    \"reason\": \"no readable disc in the drive\"\n  },\n  {\n    \"drive\": \"" +
            demo +
            "\",\n    \"disc\": {\n      \"type\": \"audio\",\n      \"tracks\": 4,\n"
            "      \"audio_tracks\": 3,\n      \"data_tracks\": 1\n    },\n    \"reason\": null\n  }\n]\n");
}

TEST_F(DriveCommands, CtrlCGivesTheDriveItsDefaultSpeedBack)
{
    // Slow sectors keep play reading while the shell sees its first bytes and sends SIGINT.
    const std::string counters = output("counters"), played = output("played");
    const Result result =
        interruptedOnEmulatedDrives({"play", trackPath("/dev/sr7", 2), "--speed", "2"},
                                    "/dev/sr7 delay-us=2000 counters=" + counters + " audio:340 audio:465",
                                    "[ -s " + quoted(played) + " ]", played);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vantor-cd: interrupted\n");
    EXPECT_NE(readFile(counters).find("\nread-speeds-kbs 354 65535 0 0\n"), std::string::npos);
}

// `cda` writes a disc's TrackNN.cda files as the disc-image writer does. In a directory that stands
// for a physical drive, as a mounted disc's volume does, they open the drive's tracks through the
// plug-in, read as securely as the drive's own track paths; the directory's own track paths open the
// drive too.
TEST_F(DriveCommands, CdaFilesOfADiscInADriveOpenThroughTheDirectoryThatStandsForIt)
{
    const std::string image = output("image"), volume = output("volume");
    ASSERT_EQ(sh(quoted(VANTOR_CD_MKDISC) + " --out " + quoted(image) + " " + kDisc).exitCode, 0);
    const Environment drive =
        onEmulatedDrives("/dev/sr7 noisy=440x1 " + kDisc, {{"CUEIFY_VIRTUAL_DRIVES", volume + "=/dev/sr7"}});
    EXPECT_EQ(run({"cda", "/dev/sr7", volume}, drive).out,
              volume + "/Track01.cda\n" + volume + "/Track02.cda\n");
    for (const char* name : {"/Track01.cda", "/Track02.cda"})
        EXPECT_EQ(readFile(volume + name), readFile(image + name)) << name;
    const std::string info = run({"info", volume + "/Track02.cda"}, drive).out;
    EXPECT_EQ(info.substr(0, info.find("\n\n")),
              "track     " + volume + "/Track02.cda\nnumber    2\ndrive     " + volume +
                  "\nduration  0:06 (465 sectors)\nsize      1058400 bytes");
    for (const std::string line :
         {"container", "  track: \"2\"", "stream 0 (audio)", "  codec_id: \"pcm_s16le\"",
          "  sample_rate: 44100", "  bitrate: 1411200", "    stream_id: 0"})
        EXPECT_NE(info.find("\n" + line + "\n"), std::string::npos) << line;
    const std::string imaged = runOn(image + "/disc.cue", {"rip", "#2", "-o", "FILE"}).out;
    for (const std::string& track : {volume + "/Track02.cda", trackPath(volume, 2)})
        EXPECT_TRUE(runOn("/dev/sr7", {"rip", track, "-o", "FILE"}, drive).out == imaged) << track;
}

} // namespace
} // namespace vantorcd
