// vantor-cd on emulated drives against the same disc written as an image: the listing and the
// audio tracks' rips must match byte for byte, and a drive's faults read as they do on images.
#include "RunCommand.h"

#include <map>
#include <sstream>

namespace vantorcd {
namespace {

struct DiscCase
{
    const char* name;
    const char* behaviour; // of the drive
    std::string tracks;    // the disc-image writer's track words
};

std::string ninetyNineTracks()
{
    std::string words;
    for (int track = 1; track <= 99; ++track)
        words += track == 99 ? "mode1:40" : "audio:12 ";
    return words;
}

// The audio tracks to rip: all of them, or on a disc of many, two at each end and two in the
// middle (the drive backend's own test compares every sector of such a disc).
std::vector<int> audioTracksToRip(const std::string& trackWords)
{
    constexpr size_t kMany = 12;
    std::vector<int> audio;
    int number = 0;
    for (const std::string& word : wordsOf(trackWords))
        if (word != "/" && (++number, word.rfind("audio:", 0) == 0))
            audio.push_back(number);
    if (audio.size() <= kMany)
        return audio;
    const size_t middle = audio.size() / 2;
    return {audio[0], audio[1], audio[middle - 1], audio[middle], audio[audio.size() - 2], audio.back()};
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string trackPath(const std::string& drive, int track)
{
    return "cdda://" + drive + "#track" + std::to_string(track) + ".cda";
}

class DriveCommands : public ::testing::Test
{
protected:
    // The disc written as an image by the mkdisc command; its CUE sheet.
    std::string writeImage(const std::string& trackWords) const
    {
        return vantorcd::writeImage(scratch.path() / "image", trackWords);
    }
    std::string output(const std::string& name) const { return (scratch.path() / name).string(); }

    testsupport::ScratchDirectory scratch;
};

class DriveDiscs : public DriveCommands, public ::testing::WithParamInterface<DiscCase>
{
};

TEST_P(DriveDiscs, ListAndAudioTrackRipsMatchTheImage)
{
    const DiscCase& disc = GetParam();
    const std::string cue = writeImage(disc.tracks);
    const Environment drive = onEmulatedDrives("/dev/sr7 " + std::string(disc.behaviour) + " " + disc.tracks);
    const Result list = run({"list", "/dev/sr7"}, drive);
    EXPECT_EQ(list.err, "");
    EXPECT_EQ(list.out, replaced(run({"list", cue}).out, cue, "/dev/sr7"));
    for (int track : audioTracksToRip(disc.tracks)) {
        const Result fromDrive = run({"rip", trackPath("/dev/sr7", track), "-o", output("drive.wav")}, drive);
        const Result fromImage = run({"rip", trackPath(cue, track), "-o", output("image.wav")});
        ASSERT_EQ(fromDrive.exitCode, 0) << track << ": " << fromDrive.err;
        ASSERT_EQ(fromImage.exitCode, 0) << track << ": " << fromImage.err;
        EXPECT_TRUE(readFile(output("drive.wav")) == readFile(output("image.wav"))) << track;
    }
}

void PrintTo(const DiscCase& disc, std::ostream* out)
{
    *out << disc.behaviour << " " << disc.tracks;
}

INSTANTIATE_TEST_SUITE_P(
    EmulatedDrives, DriveDiscs,
    testing::Values(
        DiscCase{"EnhancedCd", "", "audio:340 audio:465 / mode1:300"},
        DiscCase{"HiddenFirstTrack", "", "audio:300,pregap=40 audio:200,flags=dcp audio:150,flags=pre"},
        DiscCase{"DataFirst", "", "mode1:200 audio:300 mode2:100 audio:150"},
        DiscCase{"NinetyNineTracks", "", ninetyNineTracks()},
        DiscCase{"BecomingReady", "ready-after=6", "audio:340 audio:465 / mode1:300"},
        DiscCase{"FullTocRefusedOnTwoSessions", "no-full-toc", "audio:340 audio:465 / mode1:300"},
        DiscCase{"TocFormatsOnlyInTheOlderPlace", "older-toc", "audio:340 audio:465 / mode1:300"},
        DiscCase{"FullTocInBcdThatLooksBinary", "bcd-toc", "audio:300,pregap=40 audio:200 audio:150"}),
    [](const testing::TestParamInfo<DiscCase>& info) { return std::string(info.param.name); });

struct SectorFaultCase
{
    const char* name;
    const char* behaviour; // of the drive, about LBA 440: sector 100 of track 2, at 1.33 s
    std::string error;     // empty: the rip is the image's, byte for byte
    std::vector<std::string> cut{};
};

class SectorFaults : public DriveCommands, public ::testing::WithParamInterface<SectorFaultCase>
{
};

// A track of a drive is read as rip-disc reads one: each sector until two reads agree.
TEST_P(SectorFaults, ARipIsByteExactOrFailsNamingTheSector)
{
    const std::string disc = "audio:340 audio:465 / mode1:300";
    std::vector<std::string> fromImage{"rip", trackPath(writeImage(disc), 2), "-o", output("image.wav")};
    std::vector<std::string> fromDrive{"rip", trackPath("/dev/sr7", 2), "-o", output("drive.wav")};
    for (std::vector<std::string>* arguments : {&fromImage, &fromDrive})
        arguments->insert(arguments->end(), GetParam().cut.begin(), GetParam().cut.end());
    ASSERT_EQ(run(fromImage).exitCode, 0);
    const Result ripped =
        run(fromDrive, onEmulatedDrives("/dev/sr7 " + std::string(GetParam().behaviour) + " " + disc));
    if (GetParam().error.empty()) {
        EXPECT_EQ(ripped.exitCode, 0) << ripped.err;
        EXPECT_TRUE(readFile(output("drive.wav")) == readFile(output("image.wav")));
        return;
    }
    EXPECT_EQ(ripped.exitCode, 1);
    EXPECT_EQ(ripped.err, GetParam().error);
    EXPECT_FALSE(std::filesystem::exists(output("drive.wav")));
}

void PrintTo(const SectorFaultCase& fault, std::ostream* out)
{
    *out << fault.behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    EmulatedDrives, SectorFaults,
    testing::Values(
        SectorFaultCase{"WrongBytesWithoutAnErrorOnTheFirstRead", "noisy=440x1", ""},
        SectorFaultCase{"OtherBytesOnEverySecondRead", "unstable=440", ""},
        SectorFaultCase{
            "OtherBytesOnEverySecondReadInACut", "unstable=440", "", {"--from", "1.2", "--to", "0:02.5"}},
        SectorFaultCase{"FailingTwiceThenReading", "medium-error=440x2", ""},
        // One attempt fewer than the rip makes.
        SectorFaultCase{"FailingThreeTimesThenReading", "medium-error=440x3", ""},
        SectorFaultCase{
            "NeverReading", "medium-error=440",
            "vantor-cd: cannot read sector 100 of track 2 (LBA 440): An internal error occured.\n"},
        SectorFaultCase{
            "NeverTheSameTwice", "noisy=440",
            "vantor-cd: track 2 cannot be read consistently: no two of 16 reads of LBA 440 agree\n"}),
    [](const testing::TestParamInfo<SectorFaultCase>& info) { return std::string(info.param.name); });

// What the emulated drive counted in a run, by name (the emulator's counters=FILE).
std::map<std::string, std::string> countersIn(const std::string& file)
{
    std::istringstream lines(readFile(file));
    std::map<std::string, std::string> counters;
    for (std::string line; std::getline(lines, line);)
        counters[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
    return counters;
}

struct SpeedCase
{
    const char* name;
    std::vector<std::string> arguments; // TRACK: the drive's track 2; OUT: a file; DIR: a folder
    const char* behaviour;
    const char* speeds; // the read speeds, kB/s, of the SET CD SPEED commands the drive received
    const char* error;
    int exitCode = 0;
};

class Speeds : public DriveCommands, public ::testing::WithParamInterface<SpeedCase>
{
};

// --speed N asks for N x 177 kB/s, as Linux's CD driver turns 1x into kB/s, and 0xFFFF, the
// drive's fastest, once the command is done; a drive that refuses reads on.
TEST_P(Speeds, TheDriveReadsAtTheSpeedAskedAndGetsItsDefaultBack)
{
    const std::string disc = "audio:340 audio:465 / mode1:300";
    const std::string cue = writeImage(disc);
    const std::string counters = output("counters");
    const Environment drive =
        onEmulatedDrives("/dev/sr7 counters=" + counters + " " + GetParam().behaviour + " " + disc);
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& word : arguments)
        word = word == "TRACK" ? trackPath("/dev/sr7", 2)
               : word == "OUT" ? output("drive.wav")
               : word == "DIR" ? output("disc")
                               : word;
    const Result result = run(arguments, drive);
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.err;
    EXPECT_EQ(result.err, GetParam().error);
    EXPECT_EQ(countersIn(counters)["read-speeds-kbs"], GetParam().speeds);
    if (arguments.front() == "rip" && result.exitCode == 0) { // and an image, which has no speed, ignores it
        const Result image = run({"rip", trackPath(cue, 2), "-o", output("image.wav"), "--speed", "8"});
        ASSERT_EQ(image.exitCode, 0);
        EXPECT_EQ(image.err, "");
        EXPECT_TRUE(readFile(output("drive.wav")) == readFile(output("image.wav")));
    }
}

void PrintTo(const SpeedCase& speed, std::ostream* out)
{
    for (const std::string& word : speed.arguments)
        *out << word << " ";
    *out << speed.behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    EmulatedDrives, Speeds,
    testing::Values(
        SpeedCase{"Rip", {"rip", "TRACK", "-o", "OUT", "--speed", "8"}, "", "1416 65535 0 0", ""},
        SpeedCase{"Play", {"play", "TRACK", "--speed", "1"}, "", "177 65535 0 0", ""},
        SpeedCase{
            "RipDisc", {"rip-disc", "/dev/sr7", "-o", "DIR", "--speed", "24"}, "", "4248 65535 0 0", ""},
        SpeedCase{
            "MaxLeavesTheDriveAlone", {"rip", "TRACK", "-o", "OUT", "--speed", "max"}, "", "0 0 0 0", ""},
        SpeedCase{"Refused",
                  {"rip", "TRACK", "-o", "OUT", "--speed", "8"},
                  "no-speed",
                  "1416 0 0 0",
                  "vantor-cd: /dev/sr7 keeps its own speed (the drive refuses SET CD SPEED); reading on\n"},
        SpeedCase{"FailedRip",
                  {"rip", "TRACK", "-o", "OUT", "--speed", "8"},
                  "medium-error=440",
                  "1416 65535 0 0",
                  "vantor-cd: cannot read sector 100 of track 2 (LBA 440): An internal error occured.\n",
                  1}),
    [](const testing::TestParamInfo<SpeedCase>& info) { return std::string(info.param.name); });

// The host reads the disc's layout through the disc-access library beside the plug-in's parser;
// both share one open of the drive and the table of contents read with it.
TEST_F(DriveCommands, RipAndPlayOpenTheDriveOnceAndDrivesReadsEachTableOfContentsOnce)
{
    const struct
    {
        std::vector<std::string> arguments;
        const char* counters; // of the drive the command works on
        const char* opens;
    } cases[] = {
        {{"rip", trackPath("/dev/sr7", 2), "-o", output("track.wav")}, "sr7", "1"},
        {{"play", trackPath("/dev/sr7", 2)}, "sr7", "1"},
        {{"drives"}, "sr7", "1"},
        {{"drives"}, "sr8", "1"}, // an empty drive, whose header request fails
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front() + " on " + c.counters);
        const Result result =
            run(c.arguments, onEmulatedDrives("/dev/sr7 counters=" + output("sr7") +
                                              " audio:340 audio:465;/dev/sr8 counters=" + output("sr8")));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::map<std::string, std::string> counters = countersIn(output(c.counters));
        EXPECT_EQ(counters["opens"], c.opens);
        EXPECT_EQ(counters["toc-reads"], "1");
    }
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
    EXPECT_EQ(countersIn(counters)["read-speeds-kbs"], "354 65535 0 0");
}

// A directory that stands for a physical drive, as a mounted disc's volume does: its TrackNN.cda
// files open the drive's tracks through the plug-in, read as securely as the drive's own track
// paths, and listing it lists the drive's disc.
TEST_F(DriveCommands, CdaFilesOfADiscInADriveOpenThroughTheDirectoryThatStandsForIt)
{
    const std::string disc = "audio:340 audio:465 / mode1:300";
    const std::string cue = writeImage(disc);
    const std::string volume = output("volume");
    std::filesystem::create_directory(volume);
    const Environment drive =
        onEmulatedDrives("/dev/sr7 noisy=440x1 " + disc, {{"CUEIFY_VIRTUAL_DRIVES", volume + "=/dev/sr7"}});
    ASSERT_EQ(run({"cda", "/dev/sr7", volume}, drive).exitCode, 0);
    ASSERT_EQ(run({"rip", trackPath(cue, 2), "-o", output("image.wav")}).exitCode, 0);
    for (const std::string& track : {volume + "/Track02.cda", trackPath(volume, 2)}) {
        const Result ripped = run({"rip", track, "-o", output("drive.wav")}, drive);
        ASSERT_EQ(ripped.exitCode, 0) << track << ": " << ripped.err;
        EXPECT_TRUE(readFile(output("drive.wav")) == readFile(output("image.wav"))) << track;
    }
    const Result listed = run({"list", volume}, drive);
    EXPECT_EQ(listed.err, "");
    EXPECT_NE(listed.out.find(trackPath(volume, 2)), std::string::npos) << listed.out;
}

} // namespace
} // namespace vantorcd
