// vantor-cd on emulated drives against the same disc written as an image: the listing and the
// audio tracks' rips must match byte for byte, and a drive's faults read as they do on images.
#include "RunCommand.h"

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

std::vector<std::string> wordsOf(const std::string& text)
{
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
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
        std::vector<std::string> arguments{"--out", (scratch.path() / "image").string(), "--no-cda"};
        for (const std::string& word : wordsOf(trackWords))
            arguments.push_back(word);
        EXPECT_EQ(run(arguments, {}, {}, VANTOR_CD_MKDISC).exitCode, 0);
        return (scratch.path() / "image" / "disc.cue").string();
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

TEST_F(DriveCommands, MediumErrorsStopTheRipOnlyWhenTheyLast)
{
    const std::string disc = "audio:340 audio:465 / mode1:300";
    const std::string cue = writeImage(disc);
    ASSERT_EQ(run({"rip", trackPath(cue, 2), "-o", output("image.wav")}).exitCode, 0);
    // One attempt fewer than the rip makes, then a sector that never reads.
    const Result recovered = run({"rip", trackPath("/dev/sr7", 2), "-o", output("drive.wav")},
                                 onEmulatedDrives("/dev/sr7 medium-error=440x3 " + disc));
    EXPECT_EQ(recovered.exitCode, 0) << recovered.err;
    EXPECT_TRUE(readFile(output("drive.wav")) == readFile(output("image.wav")));
    const Result failed = run({"rip", trackPath("/dev/sr7", 2), "-o", output("failed.wav")},
                              onEmulatedDrives("/dev/sr7 medium-error=440 " + disc));
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err,
              "vantor-cd: cannot read sector 100 of track 2 (LBA 440): An internal error occured.\n");
    EXPECT_FALSE(std::filesystem::exists(output("failed.wav")));
}

TEST_F(DriveCommands, AnEmptyDriveIsNoDisc)
{
    const Environment empty = onEmulatedDrives("/dev/sr7");
    const Result list = run({"list", "/dev/sr7"}, empty);
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.err, "vantor-cd: /dev/sr7 holds no disc: no readable disc in the drive\n");
}

// A directory that stands for a physical drive, as a mounted disc's volume does: its TrackNN.cda
// files open the drive's tracks through the plug-in, and listing it lists the drive's disc.
TEST_F(DriveCommands, CdaFilesOfADiscInADriveOpenThroughTheDirectoryThatStandsForIt)
{
    const std::string disc = "audio:340 audio:465 / mode1:300";
    const std::string cue = writeImage(disc);
    const std::string volume = output("volume");
    std::filesystem::create_directory(volume);
    const Environment drive =
        onEmulatedDrives("/dev/sr7 " + disc, {{"CUEIFY_VIRTUAL_DRIVES", volume + "=/dev/sr7"}});
    ASSERT_EQ(run({"cda", "/dev/sr7", volume}, drive).exitCode, 0);
    const Result ripped = run({"rip", volume + "/Track02.cda", "-o", output("drive.wav")}, drive);
    ASSERT_EQ(ripped.exitCode, 0) << ripped.err;
    ASSERT_EQ(run({"rip", trackPath(cue, 2), "-o", output("image.wav")}).exitCode, 0);
    EXPECT_TRUE(readFile(output("drive.wav")) == readFile(output("image.wav")));
    const Result listed = run({"list", volume}, drive);
    EXPECT_EQ(listed.err, "");
    EXPECT_NE(listed.out.find(trackPath(volume, 2)), std::string::npos) << listed.out;
}

} // namespace
} // namespace vantorcd
