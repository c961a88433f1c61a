// Every command of vantor-cd and its command line, run from a shell as a user would, mostly on the
// demo disc the build writes: audio tracks of 340, 465 and 390 sectors from the start of demo.bin,
// then a data track in a second session.
#include "RunCommand.h"
#include "wave/WaveFile.h"

#include <discgeometry/DiscGeometry.h>

namespace vantorcd {
namespace {

using discgeometry::kRawSectorBytes;

std::filesystem::path demoCue()
{
    return std::filesystem::canonical(VANTOR_CD_DEMO_CUE);
}

std::string demoTrack(unsigned track)
{
    return "cdda://" + demoCue().string() + "#track" + std::to_string(track) + ".cda";
}

// The sectors of audio track 1, 2 or 3, byte for byte: what its PCM must be.
std::string demoPcm(unsigned track, size_t firstSample = 0, size_t sampleCount = std::string::npos / 4)
{
    constexpr uint32_t kFirstSector[] = {0, 340, 805, 1195};
    const std::string sectors =
        readFile(demoCue().replace_extension(".bin"))
            .substr(kFirstSector[track - 1] * kRawSectorBytes,
                    (kFirstSector[track] - kFirstSector[track - 1]) * kRawSectorBytes);
    return sectors.substr(firstSample * 4, sampleCount * 4);
}

class Commands : public ::testing::Test
{
protected:
    std::string output(const std::string& name) const { return (scratch.path() / name).string(); }
    long entries() const { return std::distance(std::filesystem::directory_iterator(scratch.path()), {}); }

    testsupport::ScratchDirectory scratch;
};

// The demo disc by default, and a disc of tracks 3 and 4 only, such as the second sheet of an album
// split over two images, with what names it: catalogue number, ISRC, CD-Text and a pregap.
TEST_F(Commands, ListShowsTheDemoDiscByDefaultAndADiscWhoseFirstTrackIsNotOneFromThatTrack)
{
    scratch.write("later.bin", demoPcm(1) + demoPcm(2));
    const std::string later =
        scratch
            .write("later.cue", "CATALOG 0123456789012\nTITLE Later\nPERFORMER \"The Band\"\n"
                                "FILE \"later.bin\" BINARY\n  TRACK 03 AUDIO\n    TITLE Three\n"
                                "    ISRC USRC17607839\n    INDEX 01 00:00:00\n"
                                "  TRACK 04 AUDIO\n    PERFORMER Solo\n    INDEX 00 00:04:00\n"
                                "    INDEX 01 00:04:40\n")
            .string();
    const std::string demo = demoCue().string(), track = "cdda://" + demo + "#track";
    const std::string laterTrack = "cdda://" + later + "#track";
    // The demo disc's duration runs to the second session's lead-out, past the gap between the sessions.
    // clang-format off
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"list"}, "disc         " + demo + "\ntracks       4\nduration     2:53\n"
                   "musicbrainz  Dl47zGV.FacciNLHtKbuvCWE_Xo-\nfreedb       1b00ab04\n"
                   "accuraterip  dBAR-003-000036d8-0000d594-1b00ab04.bin\n\n"
                   "  #  duration    pregap  type   isrc          track path\n"
                   "  1      0:04  00:00:00  audio                " + track + "1.cda\n"
                   "  2      0:06  00:00:00  audio                " + track + "2.cda\n"
                   "  3      0:05  00:00:00  audio                " + track + "3.cda\n"
                   "  4      0:04            data                 " + track + "4.cda\n"},
        {{"list", later}, "disc         " + later + "\ntracks       2\nduration     0:12\n"
                          "musicbrainz  ZDrBYu_WZiavHAApNQFKanV.hH8-\nfreedb       08000a02\n"
                          "accuraterip  dBAR-002-00000479-00000c18-08000a02.bin\nmcn          0123456789012\n"
                          "title        Later\nperformer    The Band\n\n"
                          "  #  duration    pregap  type   isrc          track path\n"
                          "  3      0:04  00:00:00  audio  USRC17607839  " + laterTrack + "3.cda\n"
                          "                                                 \"Three\"\n"
                          "  4      0:06  00:00:40  audio                " + laterTrack + "4.cda\n"
                          "                                                 by Solo\n"},
    };
    // clang-format on
    for (const auto& [arguments, listing] : cases) {
        const Result listed = run(arguments);
        EXPECT_EQ(listed.exitCode, 0);
        EXPECT_EQ(listed.err, "");
        EXPECT_EQ(listed.out, listing);
    }
    const Result info = run({"info", laterTrack + "3.cda", "--json"});
    EXPECT_NE(info.out.find("\"isrc\": \"USRC17607839\",\n  \"cdtext\": {\n    \"title\": \"Three\",\n"
                            "    \"performer\": null\n  },"),
              std::string::npos)
        << info.out;
    EXPECT_EQ(run({"rip", laterTrack + "4.cda", "-o", output("04.wav")}).exitCode, 0);
    EXPECT_TRUE(decodedPcm(output("04.wav")) == demoPcm(2));
    // The disc's title is the album; track 3 has no performer of its own, so the disc's is its artist.
    // The rip's CUE sheet is named after the disc's title and keeps its CD-Text, catalogue and ISRC.
    ASSERT_EQ(run({"rip-disc", later, "-o", output("album")}).exitCode, 0);
    EXPECT_EQ(run({"-v", "error", "-show_entries", "format_tags=album,album_artist,artist,title,mcn,isrc",
                   "-of", "compact", output("album/03 - Three.flac")},
                  {}, {}, "ffprobe")
                  .out,
              "format|tag:mcn=0123456789012|tag:album=Later|tag:album_artist=The Band|tag:title=Three|"
              "tag:artist=The Band|tag:isrc=USRC17607839\n");
    EXPECT_EQ(
        readFile(output("album/Later.cue")),
        "CATALOG 0123456789012\nPERFORMER \"The Band\"\nTITLE \"Later\"\nFILE \"03 - Three.flac\" WAVE\n"
        "  TRACK 03 AUDIO\n    ISRC USRC17607839\n    TITLE \"Three\"\n    INDEX 01 00:00:00\n"
        "  TRACK 04 AUDIO\n    PERFORMER \"Solo\"\n    INDEX 00 00:04:00\nFILE \"04.flac\" WAVE\n"
        "    INDEX 01 00:00:00\n");
    // The second session's lead-out: the 1195 audio sectors, the gap between sessions, 300 of data.
    EXPECT_NE(run({"list", "--json"}).out.find("\"sessions\": 2,\n  \"lead_out_lba\": 12895,"),
              std::string::npos);
}

// Rips of the demo's first track, by default here as WAVE, and plays of the same part. The file
// has the mode of a new file under the umask; cuts land on the nearest sample.
TEST_F(Commands, RipWritesEveryFileTypeAndRipAndPlayCutAtTheNearestSample)
{
    constexpr size_t kAll = 340 * 588;
    const struct
    {
        const char* umask;
        std::string file; // none: the default
        std::string codec;
        std::string format;
        std::vector<std::string> cut;
        size_t firstSample;
        size_t sampleCount;
        unsigned mode;
    } cases[] = {
        {"022", "", "pcm_s16le", "wav", {}, 0, kAll, 0644},
        {"000", "t.flac", "flac", "flac", {}, 0, kAll, 0666},
        {"077", "t.aiff", "pcm_s16be", "aiff", {}, 0, kAll, 0600},
        {"257", "t.aif", "pcm_s16be", "aiff", {}, 0, kAll, 0420},
        {"022", "cut.flac", "flac", "flac", {"--from", "0.5", "--to", "1.25"}, 22050, 33075, 0644},
        {"022", "cut.flac", "flac", "flac", {"--from", "0:01.001"}, 44144, kAll - 44144, 0644},
        {"022", "cut.flac", "flac", "flac", {"--to", "0:00.010"}, 0, 441, 0644},
        // Past the whole seconds a seek reaches.
        {"022", "cut.flac", "flac", "flac", {"--from", "4.3", "--to", "9"}, 189630, kAll - 189630, 0644},
        // 0.019 s is sample 837.9, 0.041 s sample 1808.1; 34 us is sample 1.499, 35 us sample 1.543.
        {"022", "cut.flac", "flac", "flac", {"--from", "0.019", "--to", "0.041"}, 838, 970, 0644},
        {"022", "cut.flac", "flac", "flac", {"--from", "0.000034", "--to", "0.000035"}, 1, 1, 0644},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + " " + (c.cut.empty() ? "" : c.cut[1]));
        const std::string file = output(c.file.empty() ? "track01.wav" : c.file);
        std::vector<std::string> rip = {VANTOR_CD_BINARY, "rip"}, play = {"play"};
        if (!c.file.empty()) {
            rip.insert(rip.end(), {demoTrack(1), "-o", file});
            play.push_back(demoTrack(1));
        }
        rip.insert(rip.end(), c.cut.begin(), c.cut.end());
        play.insert(play.end(), c.cut.begin(), c.cut.end());
        const Result result = sh("umask " + std::string(c.umask) + " && cd " + quoted(scratch.path()) +
                                     " && exec \"$0\" \"$@\"",
                                 rip);
        EXPECT_EQ(result.out, "wrote " + (c.file.empty() ? "track01.wav" : file) + "\n");
        EXPECT_EQ(result.err, "");
        const Result probe =
            run({"-v", "error", "-show_entries", "stream=codec_name,sample_rate,channels:format=format_name",
                 "-of", "default=noprint_wrappers=1", file},
                {}, {}, "ffprobe");
        EXPECT_EQ(probe.out, "codec_name=" + c.codec +
                                 "\nsample_rate=44100\nchannels=2\nformat_name=" + c.format + "\n");
        EXPECT_TRUE(decodedPcm(file) == demoPcm(1, c.firstSample, c.sampleCount));
        EXPECT_TRUE(run(play).out == demoPcm(1, c.firstSample, c.sampleCount));
        EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(c.mode));
    }
    // The samples end the WAVE file, behind the header of their data chunk; RIFF counts all but 8 bytes.
    const std::string wave = readFile(output("track01.wav")), pcm = demoPcm(1);
    EXPECT_TRUE(wave.substr(0, 12) == "RIFF" + wavefile::littleEndian(wave.size() - 8, 4) + "WAVE");
    EXPECT_TRUE(wave.substr(wave.size() - pcm.size() - 8) == wavefile::chunk("data", pcm));
}

// Reads of demo.bin from sector 100 of track 2 on fail, every time or the first three times: the
// rip stops with that line, or reads the track whole.
TEST_F(Commands, ARipReadsASectorThatFailsAFewTimesAndOtherwiseStopsNamingItAndKeepsTheOldFile)
{
    const std::string wav = scratch.write("out.wav", "old").string();
    const std::pair<const char*, std::string> cases[] = {
        {"1000000", "vantor-cd: cannot read sector 100 of track 2 (LBA 440): An internal error occured.\n"},
        {"3", ""}};
    for (const auto& [failures, err] : cases) {
        SCOPED_TRACE(failures);
        const Result result = run({"rip", demoTrack(2), "-o", wav},
                                  {{"LD_PRELOAD", VANTOR_CD_FAULTY_READ},
                                   {"FAULTY_READ_FILE", demoCue().replace_extension(".bin")},
                                   {"FAULTY_READ_OFFSET", std::to_string(440 * kRawSectorBytes)},
                                   {"FAULTY_READ_TIMES", failures}});
        EXPECT_EQ(result.exitCode, err.empty() ? 0 : 1);
        EXPECT_EQ(result.err, err);
        EXPECT_TRUE(err.empty() ? decodedPcm(wav) == demoPcm(2) : readFile(wav) == "old");
        EXPECT_EQ(entries(), 1);
    }
}

// A user's mistake exits with 1, a malformed command line, whose line points to --help, with 2;
// either way the one line that names it is all the output, and no file is written.
TEST_F(Commands, UserErrorsAndMalformedCommandLinesGiveOneLineAndLeaveNoFile)
{
    const std::string cue = demoCue().string();
    const std::string wav = output("out.wav");
    const std::string hashFolder = output("x#track1");
    scratch.write("x#track1/a.bin", std::string(kRawSectorBytes, '\0'));
    scratch.write("x#track1/a.cue", "FILE a.bin BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n");
    const std::string help = " (see vantor-cd --help)",
                      noSpeed = " is no speed: give a whole multiple of 1x, or max";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"rip", demoTrack(4), "-o", wav}, "track 4 of " + cue + " is a data track, not audio"},
        {{"rip", output("Track09.cda"), "-o", wav}, output("Track09.cda") + ": no such file"},
        {{"rip", demoTrack(1), "-o", output("no/out.wav")},
         "cannot write " + output("no/out.wav") + ": No such file or directory"},
        {{"rip", demoTrack(1), "-o", output("out.mp3")},
         "cannot write " + output("out.mp3") + ": unknown audio file type .mp3 (use .wav, .flac or .aiff)"},
        {{"rip", demoTrack(1), "-o", wav, "--from", "1:75"},
         "--from: bad time \"1:75\": use seconds (90, 12.5) or m:ss(.fff) (1:30, 0:04.250)"},
        {{"rip", demoTrack(1), "-o", wav, "--from", "5"},
         "--from 0:05.000 is past the end of the track (0:04.533)"},
        {{"rip", demoTrack(1), "-o", wav, "--from", "2", "--to", "1.5"},
         "--to 0:01.500 is not after --from 0:02.000"},
        {{"list", output("missing.cue")}, output("missing.cue") + ": no such file or directory"},
        {{"list", "/dev/sr7"}, "/dev/sr7 holds no disc: no readable disc in the drive"}, // an empty drive
        {{"list", hashFolder + "/a.cue"},
         "cannot use the disc in " + hashFolder +
             "/a.cue: its path holds \"#track\", which marks the track number in track paths; rename the "
             "folder"},
        {{"rip-disc", "-o", hashFolder},
         hashFolder + " already holds files; choose another folder or add --force"},
        {{}, "a command is required: drives, list, info, rip, rip-disc, play or cda" + help},
        {{"burn"}, "unknown command 'burn' (drives, list, info, rip, rip-disc, play or cda)" + help},
        {{"rip", demoTrack(1), "--from"}, "--from: 1 required TEXT missing" + help},
        {{"rip", demoTrack(1), "--speed", "0"}, "--speed: '0'" + noSpeed + help},
        {{"rip-disc", "--speed", "fast"}, "--speed: 'fast'" + noSpeed + help},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        const Result result =
            run(arguments, onEmulatedDrives("/dev/sr7", {{"CUEIFY_VIRTUAL_DRIVES", ""}}), scratch.path());
        EXPECT_EQ(result.exitCode, message.find(help) == std::string::npos ? 1 : 2);
        EXPECT_EQ(result.err, "vantor-cd: " + message + "\n");
        EXPECT_EQ(result.out, "");
        // Nothing but the folder written above.
        EXPECT_EQ(entries(), 1);
    }
}

} // namespace
} // namespace vantorcd
