// vantor-cd rip-disc on an enhanced CD that the disc-image writer makes: audio tracks of 300,
// 500 (after a stored pregap of 40) and 400 sectors, then a data track in a second session. The
// expected PCM comes from the image's data file.
#include "HexText.h"
#include "RunCommand.h"
#include "wave/WaveFile.h"

#include <discgeometry/DiscGeometry.h>

#include <csignal>
#include <cstdlib>
#include <sstream>

namespace vantorcd {
namespace {

using discgeometry::kRawSectorBytes;
using testsupport::hex;
using wavefile::littleEndian;
const std::string kDisc = "audio:300 audio:500,pregap=40 audio:400 / mode1:300";
// Each audio file's sectors in the data file: from its INDEX 01 to the next track's INDEX 01.
constexpr uint32_t kFileStart[] = {0, 340, 840, 1240};

// A track's CRCs, worked out here sample by sample and apart from the code under test: AccurateRip
// leaves out the disc's first 2939 and last 2940 samples and weighs each sample word by its
// position from 1; v1 sums the products' low halves, v2 adds their high halves. CRC32 is zlib's.
struct Crcs
{
    uint32_t v1 = 0;
    uint32_t v2 = 0;
    uint32_t crc32 = 0;
};

Crcs crcsOf(const std::string& pcm, bool first, bool last)
{
    const uint64_t samples = pcm.size() / 4;
    const uint64_t from = first ? 2940 : 1, to = last ? samples - 2940 : samples;
    Crcs crcs;
    uint32_t highHalves = 0;
    for (uint64_t p = from; p <= to; ++p) {
        const auto* sample = reinterpret_cast<const uint8_t*>(pcm.data()) + (p - 1) * 4;
        const uint64_t word = sample[0] | sample[1] << 8 | sample[2] << 16 | uint64_t{sample[3]} << 24;
        crcs.v1 += static_cast<uint32_t>(p * word);
        highHalves += static_cast<uint32_t>(p * word >> 32);
    }
    crcs.v2 = crcs.v1 + highHalves;
    uint32_t crc = 0xffffffff;
    for (const char byte : pcm) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xedb88320 : crc >> 1;
    }
    crcs.crc32 = ~crc;
    return crcs;
}

// A dBAR response for the disc of an AccurateRip file name: its IDs as the name spells them,
// then each track's confidence and CRC.
std::string dbarResponse(const std::string& fileName, const std::vector<std::pair<uint8_t, uint32_t>>& tracks)
{
    std::string bytes(1, static_cast<char>(tracks.size()));
    for (const size_t at : {9, 18, 27})
        bytes += littleEndian(static_cast<uint32_t>(std::stoul(fileName.substr(at, 8), nullptr, 16)), 4);
    // Each track's CRC of frame 450 is 0: the verdict does not use it.
    for (const auto& [confidence, crc] : tracks)
        bytes += static_cast<char>(confidence) + littleEndian(crc, 4) + littleEndian(0, 4);
    return bytes;
}

class RipDisc : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeImage(scratch.path() / "image", kDisc);
        // The disc's IDs as the list command shows them.
        std::istringstream list(run({"list", cue}).out);
        for (std::string word; list >> word;)
            if (word == "musicbrainz" || word == "freedb" || word == "accuraterip")
                list >> ids[word];
        for (unsigned track = 1; track <= 3; ++track)
            crcs.push_back(crcsOf(pcm(track), track == 1, track == 3));
    }

    // What audio track 1, 2 or 3 must hold, byte for byte, from a drive of that read offset, which
    // the rip corrects. A drive of offset +6 delivers the disc's sample x - 6 at x, one of -600 the
    // sample x + 600; it reads no further than the lead-out and nothing before the disc's first
    // sector, so the disc's last 6 samples, or its first 600, come out as silence.
    std::string pcm(unsigned track, int offset = 0) const
    {
        std::string bytes = readFile(scratch.path() / "image" / "disc.bin")
                                .substr(kFileStart[track - 1] * kRawSectorBytes,
                                        (kFileStart[track] - kFileStart[track - 1]) * kRawSectorBytes);
        const size_t silent = static_cast<size_t>(std::abs(offset)) * 4;
        if (offset > 0 && track == 3)
            bytes.replace(bytes.size() - silent, silent, silent, '\0');
        if (offset < 0 && track == 1)
            bytes.replace(0, silent, silent, '\0');
        return bytes;
    }

    std::string file(const std::string& name, const std::string& bytes) const
    {
        return scratch.write(name, bytes).string();
    }

    // A track's entry in the log.
    static std::string logEntry(unsigned track, const Crcs& c, const std::string& rereads,
                                const std::string& verdict)
    {
        return "\nTrack " + std::to_string(track) + "\n  File:            0" + std::to_string(track) +
               ".flac\n  CRC32:           " + hex(c.crc32) + "\n  AccurateRip v1:  " + hex(c.v1) +
               "\n  AccurateRip v2:  " + hex(c.v2) + "\n  Re-reads:        " + rereads +
               "\n  Verdict:         " + verdict + "\n";
    }

    testsupport::ScratchDirectory scratch;
    const std::string cue = (scratch.path() / "image" / "disc.cue").string();
    const std::string folder = (scratch.path() / "rip").string();
    std::map<std::string, std::string> ids;
    std::vector<Crcs> crcs;
};

// The rips of the image, with a reply read from a file or fetched, and of drives whose sectors
// are in doubt or whose read offset is corrected, each written over the one before, which --force
// allows. A drive's first read of a sector comes with its read-ahead; each read again brings
// C2 pointers where the drive gives them. An unstable sector reads wrong every second time; a
// c2-error sector reads the same wrong bytes twice, which only the drive's C2 pointers betray.
// Either way track 2 takes two reads more than its sectors' two each. Each failed read of a sector
// costs the drive two, the batch read ahead and then the sector alone: seven failures are the most
// that the four attempts at a sector outlast. A sector that fails three times once read cleanly
// takes all four attempts of a confirming read, with C2 pointers or, from a drive without, without.
// The silence a read offset brings lies where AccurateRip's CRCs leave samples out; -1176 samples
// are two whole sectors.
TEST_F(RipDisc, EachFileHoldsItsTrackAndTheLogItsCrcsAndTheVerdictOfTheReplyOrWhyThereIsNone)
{
    const std::string& name = ids["accuraterip"];
    const std::string otherDisc = std::string(name).replace(9, 8, "0badd15c");
    // Three pressings of this disc and one of another. A v2 match outweighs a v1 match of higher
    // confidence, and a track of confidence 0 is one the pressing has no data for.
    const std::string pressings = file(
        "pressings.bin", dbarResponse(name, {{5, crcs[0].v1}, {5, crcs[1].v2 + 1}, {0, crcs[2].v1}}) +
                             dbarResponse(name, {{4, crcs[0].v2}, {0, 0}, {0, 0}}) +
                             dbarResponse(name, {{2, crcs[0].v2}, {0, 0}, {0, 0}}) +
                             dbarResponse(otherDisc, {{9, crcs[0].v1}, {9, crcs[1].v2}, {9, crcs[2].v2}}));
    const std::vector<std::string> pressed = {"accurate (confidence 4, v2)", "not accurate",
                                              "not in database"};
    const std::string response = dbarResponse(name, {{3, crcs[0].v1}, {3, crcs[1].v1}, {3, 0}});
    const std::vector<std::string> byV1 = {"accurate (confidence 3, v1)", "accurate (confidence 3, v1)",
                                           "not accurate"};
    // Python's http.server serves the reply on 127.0.0.1 from a port of its choosing, which it
    // names once it listens; it ends with the test, or in two minutes.
    file("server/accuraterip/" + name, response);
    std::istringstream started(
        sh("timeout 120 python3 -u -m http.server 0 --bind 127.0.0.1 --directory \"$0\" "
           ">\"$0.log\" 2>&1 & echo $!; until grep -q ' port ' \"$0.log\"; do sleep 0.01; "
           "done; sed 's/.* port \\([0-9]*\\) .*/\\1/' \"$0.log\"",
           {(scratch.path() / "server").string()})
            .out);
    int server = 0, port = 0;
    started >> server >> port;
    const std::string url = "http://127.0.0.1:" + std::to_string(port);
    const std::string fetched = url + "/accuraterip/" + name, missing = url + "/none.bin";
    const std::string empty = file("empty.bin", ""), inTracks = file("tracks.bin", response.substr(0, 39)),
                      inHeader = file("header.bin", response + response.substr(0, 12)),
                      other = file("other.bin", dbarResponse(otherDisc, {{5, crcs[0].v1}, {5, 0}, {5, 0}}));
    const std::vector<std::string> notVerified(3, "not verified"), notInDatabase(3, "not in database");
    const auto unusable = [](const std::string& reply, const std::string& why) {
        return "the AccurateRip reply from " + reply + " is " + why;
    };
    const std::string endsInside = "malformed: an AccurateRip reply that ends inside ";
    const struct
    {
        std::string drive; // the emulated drive's behaviour; none: the image is ripped
        std::string reply;
        std::string err; // how the line begins; none: nothing is said
        std::vector<std::string> verdicts;
        std::string logged = "";   // a part of the log before the tracks
        std::string rereads = "0"; // track 2's; the other tracks take none
        int offset = 0;            // the drive's read offset, given to the rip to correct
    } cases[] = {
        {"", pressings, "", pressed,
         "\n\nImage:           " + std::filesystem::canonical(cue).string() +
             "\nRead offset:     0 samples\nSecure reading:  none: an image reads the same every time\n"
             "MusicBrainz ID:  " +
             ids["musicbrainz"] + "\nFreeDB ID:       " + ids["freedb"] + "\nAccurateRip ID:  " + name +
             "\nAccurateRip:     4 responses from " + pressings + "\n\n"},
        {"", fetched, "", byV1, "\nAccurateRip:     1 responses from " + fetched + "\n"},
        {"", missing, "the disc is not in AccurateRip's database (" + missing + " answered 404)",
         notInDatabase},
        // Port 1 on the loopback: nothing listens there.
        {"", "http://127.0.0.1:1/dBAR.bin",
         "cannot get the AccurateRip reply: Failed to connect to 127.0.0.1 port 1 ", notVerified},
        {"", empty, unusable(empty, "malformed: an empty AccurateRip reply"), notVerified},
        {"", inTracks, unusable(inTracks, endsInside + "the 3 tracks of a response (byte 0)"), notVerified},
        {"", inHeader, unusable(inHeader, endsInside + "a response header (byte 40)"), notVerified},
        {"", other, unusable(other, "for another disc (" + name + ")"), notInDatabase},
        {"unstable=700 unstable=701", "", "", notVerified,
         "\n\nDrive:           /dev/sr7\nRead offset:     0 samples\nSecure reading:  each sector read "
         "until two reads agree, the drive's cache moved away in between\n",
         "2"},
        {"no-c2 unstable=700 unstable=701", "", "", notVerified, "", "2"},
        {"c2-error=700x2", "", "", notVerified, "", "2"},
        {"medium-error=700x7", "", "", notVerified, "", "3"},
        {"reread-error=700x3", "", "", notVerified, "", "0"},
        {"no-c2 reread-error=700x3", "", "", notVerified, "", "0"},
        {"offset=6", pressings, "", pressed, "\nRead offset:     6 samples\n", "0", 6},
        {"offset=-600", pressings, "", pressed, "\nRead offset:     -600 samples\n", "0", -600},
        {"offset=-1176", pressings, "", pressed, "\nRead offset:     -1176 samples\n", "0", -1176},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drive + c.reply);
        std::vector<std::string> arguments = {"rip-disc", c.drive.empty() ? cue : "/dev/sr7", "-o", folder,
                                              "--force"};
        if (!c.reply.empty())
            arguments.insert(arguments.end(), {"--accuraterip", c.reply});
        if (c.offset != 0)
            arguments.push_back("--offset=" + std::to_string(c.offset));
        const Result result = run(arguments, onEmulatedDrives("/dev/sr7 " + c.drive + " " + kDisc));
        ASSERT_EQ(result.exitCode, 0) << result.err;
        if (c.err.empty())
            EXPECT_EQ(result.err, "");
        else
            EXPECT_EQ(result.err.substr(0, c.err.size() + 11) + result.err.substr(result.err.size() - 13),
                      "vantor-cd: " + c.err + "; ripping on\n");
        // What rip-disc prints, and the log's entries: each track's file and verdict.
        std::string printed, entries;
        for (unsigned track = 1; track <= 3; ++track) {
            const std::string file = folder + "/0" + std::to_string(track) + ".flac";
            const std::string expected = pcm(track, c.offset);
            EXPECT_TRUE(decodedPcm(file) == expected) << track;
            printed += "track " + std::to_string(track) + ": " + file + "  " + c.verdicts[track - 1] + "\n";
            entries += logEntry(track, crcsOf(expected, track == 1, track == 3), track == 2 ? c.rereads : "0",
                                c.verdicts[track - 1]);
        }
        EXPECT_EQ(result.out, printed);
        const std::string log = readFile(folder + "/rip.log");
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
        EXPECT_EQ(log.substr(log.find("\n\nTrack 1\n") + 1), entries);
        // The pregap of track 2 ends the previous file; a drive does not tell it.
        if (c.drive.empty())
            EXPECT_EQ(readFile(folder + "/disc.cue"),
                      "FILE \"01.flac\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                      "  TRACK 02 AUDIO\n    INDEX 00 00:04:00\n"
                      "FILE \"02.flac\" WAVE\n    INDEX 01 00:00:00\n"
                      "FILE \"03.flac\" WAVE\n  TRACK 03 AUDIO\n    INDEX 01 00:00:00\n");
        const Result tags = run({"-v", "error", "-show_entries", "format_tags=track,cddb_discid", "-of",
                                 "compact", folder + "/02.flac"},
                                {}, {}, "ffprobe");
        EXPECT_EQ(tags.out, "format|tag:cddb_discid=" + ids["freedb"] + "|tag:track=2/3\n");
    }
    ::kill(server, SIGTERM);
}

TEST_F(RipDisc, AudioBeforeTrackOneIsTrackZeroUnlessSilent)
{
    for (const std::string pregap : {"pregap", "silence"}) {
        SCOPED_TRACE(pregap);
        const std::string image = (scratch.path() / pregap).string(), out = image + "/rip";
        writeImage(image, "audio:300," + pregap + "=40 audio:200");
        ASSERT_EQ(run({"rip-disc", image + "/disc.cue", "-o", out, "--format", "wav"}).exitCode, 0);
        // The data file holds what the disc holds from its first stored sector on.
        const std::string data = readFile(image + "/disc.bin");
        const size_t stored = data.size() - (300 + 200) * kRawSectorBytes;
        EXPECT_EQ(
            readFile(out + "/disc.cue"),
            (stored > 0
                 ? "FILE \"00.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 00 00:00:00\nFILE \"01.wav\" WAVE\n"
                 : "FILE \"01.wav\" WAVE\n  TRACK 01 AUDIO\n") +
                std::string("    INDEX 01 00:00:00\nFILE \"02.wav\" WAVE\n  TRACK 02 AUDIO\n"
                            "    INDEX 01 00:00:00\n"));
        EXPECT_EQ(decodedPcm(out + "/00.wav").size(), stored); // none of a silent pregap
        EXPECT_TRUE(decodedPcm(out + "/00.wav") + decodedPcm(out + "/01.wav") ==
                    data.substr(0, stored + 300 * kRawSectorBytes));
    }
}

TEST_F(RipDisc, ARipThatStopsKeepsTheFinishedTracksAndNothingOfTheTrackItStopsIn)
{
    const std::string kept = "; the tracks before it are complete and nothing of ";
    // The result of a rip into the folder of the case's number, and the line it stops with.
    const std::pair<Result, std::string> cases[] = {
        // Slow sectors keep the rip in track 2 while the shell sees track 1's file and sends SIGINT.
        {interruptedOnEmulatedDrives({"rip-disc", "/dev/sr7", "-o", folder + "1", "--format", "wav"},
                                     "/dev/sr7 delay-us=2000 " + kDisc,
                                     "[ -e " + quoted(folder + "1/01.wav") + " ]"),
         "interrupted in track 2" + kept + "it was kept"},
        // Files may grow to 1800 blocks of 512 bytes (921,600 bytes): track 1's file (340 sectors)
        // fits, track 2's (500 sectors) does not. With SIGXFSZ ignored, the write that crosses the
        // limit fails with EFBIG, as on a full disk it fails with ENOSPC.
        {sh("ulimit -f 1800; trap '' XFSZ; exec \"$0\" \"$@\"",
            {VANTOR_CD_BINARY, "rip-disc", cue, "-o", folder + "2", "--format", "wav"}),
         "cannot write " + folder + "2/02.wav: File too large" + kept + "track 2 was kept"},
    };
    for (const auto& c : cases) {
        const auto& [result, error] = c;
        SCOPED_TRACE(error);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "vantor-cd: " + error + "\n");
        // Track 1's file alone, hidden temporary files included.
        const std::string out = folder + std::to_string(&c - cases + 1);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 1);
        EXPECT_TRUE(decodedPcm(out + "/01.wav") == pcm(1));
    }
}

} // namespace
} // namespace vantorcd
