// vantor-cd rip-disc on an enhanced CD that the disc-image writer makes: audio tracks of 600,
// 400 (after a stored pregap of 40) and 500 sectors, then a data track in a second session. The
// expected PCM comes from the image's data file and the expected CRCs from a loop of this test.
#include "HexText.h"
#include "RunCommand.h"

#include <discgeometry/DiscGeometry.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>

namespace vantorcd {
namespace {

using discgeometry::kRawSectorBytes;
const char* const kDisc = "audio:600 audio:400,pregap=40 audio:500 / mode1:300";
// Each audio file's sectors in the data file: from its INDEX 01 to the next track's INDEX 01.
constexpr std::array<uint32_t, 4> kFileStart = {0, 640, 1040, 1540};

struct Crcs
{
    uint32_t v1 = 0;
    uint32_t v2 = 0;
    uint32_t crc32 = 0;
};

using testsupport::hex;

// A track's entry in the log, from its file to its re-reads.
std::string logEntry(unsigned track, const Crcs& crcs, const std::string& rereads)
{
    return "  File:            0" + std::to_string(track) + ".wav\n  CRC32:           " + hex(crcs.crc32) +
           "\n  AccurateRip v1:  " + hex(crcs.v1) + "\n  AccurateRip v2:  " + hex(crcs.v2) +
           "\n  Re-reads:        " + rereads + "\n";
}

uint32_t plainCrc32(const std::string& bytes)
{
    uint32_t crc = 0xffffffff;
    for (const char byte : bytes) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xedb88320 : crc >> 1;
    }
    return ~crc;
}

Crcs crcsOf(const std::string& pcm, bool first, bool last)
{
    const uint64_t samples = pcm.size() / 4;
    const uint64_t from = first ? 2940 : 1, to = last ? samples - 2940 : samples;
    uint32_t v1 = 0, high = 0;
    for (uint64_t p = from; p <= to; ++p) {
        const auto* sample = reinterpret_cast<const uint8_t*>(pcm.data()) + (p - 1) * 4;
        const uint64_t word = sample[0] | sample[1] << 8 | sample[2] << 16 | uint64_t{sample[3]} << 24;
        v1 += static_cast<uint32_t>(p * word);
        high += static_cast<uint32_t>(p * word >> 32);
    }
    return {v1, v1 + high, plainCrc32(pcm)};
}

void put32(std::string& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>(value >> shift & 0xff);
}

struct ReplyTrack
{
    uint8_t confidence;
    uint32_t crc;
};

// A dBAR response: the header with the IDs as the file name spells them, then the tracks.
std::string dbarResponse(const std::string& fileName, const std::vector<ReplyTrack>& tracks)
{
    std::string bytes(1, static_cast<char>(tracks.size()));
    for (const size_t at : {9, 18, 27})
        put32(bytes, static_cast<uint32_t>(std::stoul(fileName.substr(at, 8), nullptr, 16)));
    for (const ReplyTrack& track : tracks) {
        bytes += static_cast<char>(track.confidence);
        put32(bytes, track.crc);
        put32(bytes, 0);
    }
    return bytes;
}

uint16_t freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                       ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    ::close(fd);
    return bound ? ntohs(address.sin_port) : 0; // port 0: the server cannot start, and says so
}

// Python's http.server on 127.0.0.1, serving a folder, for as long as the object lives.
class LocalHttpServer
{
public:
    explicit LocalHttpServer(const std::filesystem::path& folder) : m_port(freePort())
    {
        const std::string started =
            run({"-c", "python3 -m http.server " + std::to_string(m_port) + " --bind 127.0.0.1 --directory " +
                           quoted(folder) + " >/dev/null 2>&1 & echo $!"},
                {}, {}, "sh")
                .out;
        m_pid = std::stoi(started);
        // Waits until it answers: curl retries a refused connection.
        run({"-s", "-o", "/dev/null", "--retry", "50", "--retry-connrefused", "--retry-delay", "0", url("")},
            {}, {}, "curl");
    }
    ~LocalHttpServer() { ::kill(m_pid, SIGTERM); }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/" + path;
    }

private:
    uint16_t m_port;
    int m_pid = 0;
};

class RipDisc : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeImage(scratch.path() / "image", kDisc);
        // The disc's AccurateRip name as the list command shows it.
        const std::string info = run({"list", cue()}).out;
        const size_t at = info.find("dBAR-");
        ASSERT_NE(at, std::string::npos) << info;
        accurateRipName = info.substr(at, 39);
        for (unsigned track = 1; track <= 3; ++track)
            crcs.push_back(crcsOf(pcm(track), track == 1, track == 3));
    }

    std::string cue() const { return (scratch.path() / "image" / "disc.cue").string(); }
    std::string folder() const { return (scratch.path() / "rip").string(); }

    // What audio track 1, 2 or 3 must hold, byte for byte.
    std::string pcm(unsigned track) const
    {
        const std::string data = readFile(scratch.path() / "image" / "disc.bin");
        return data.substr(kFileStart[track - 1] * kRawSectorBytes,
                           (kFileStart[track] - kFileStart[track - 1]) * kRawSectorBytes);
    }

    std::string writeReply(const std::string& bytes) const
    {
        return scratch.write("reply.bin", bytes).string();
    }

    std::string log() const { return readFile(std::filesystem::path(folder()) / "rip.log"); }

    // The names in the output folder, hidden temporary files included, sorted.
    std::vector<std::string> filesLeft() const
    {
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(folder()))
            left.push_back(entry.path().filename().string());
        std::sort(left.begin(), left.end());
        return left;
    }

    testsupport::ScratchDirectory scratch;
    std::string accurateRipName;
    std::vector<Crcs> crcs;
};

TEST_F(RipDisc, EachFileHoldsItsTrackExactlyAndTheLogItsCrcs)
{
    const Result result = run({"rip-disc", cue(), "-o", folder(), "--format", "wav"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (unsigned track = 1; track <= 3; ++track) {
        const std::string file = folder() + "/0" + std::to_string(track) + ".wav";
        EXPECT_TRUE(decodedPcm(file) == pcm(track)) << track;
        EXPECT_NE(log().find("Track " + std::to_string(track) + "\n" + logEntry(track, crcs[track - 1], "0") +
                             "  Verdict:         not verified\n"),
                  std::string::npos)
            << log();
    }
    EXPECT_NE(log().find("AccurateRip ID:  " + accurateRipName + "\n"), std::string::npos);
    EXPECT_NE(log().find("Image:           " + std::filesystem::canonical(cue()).string()), std::string::npos)
        << log();
}

TEST_F(RipDisc, TheCueSheetPutsEachPregapAtTheEndOfThePreviousFile)
{
    ASSERT_EQ(run({"rip-disc", cue(), "-o", folder()}).exitCode, 0);
    EXPECT_EQ(readFile(folder() + "/disc.cue"), "FILE \"01.flac\" WAVE\n"
                                                "  TRACK 01 AUDIO\n"
                                                "    INDEX 01 00:00:00\n"
                                                "  TRACK 02 AUDIO\n"
                                                "    INDEX 00 00:08:00\n"
                                                "FILE \"02.flac\" WAVE\n"
                                                "    INDEX 01 00:00:00\n"
                                                "FILE \"03.flac\" WAVE\n"
                                                "  TRACK 03 AUDIO\n"
                                                "    INDEX 01 00:00:00\n");
    EXPECT_TRUE(decodedPcm(folder() + "/02.flac") == pcm(2));
    const Result tags = run({"-v", "error", "-show_entries", "format_tags=track,cddb_discid", "-of",
                             "compact", folder() + "/02.flac"},
                            {}, {}, "ffprobe");
    EXPECT_EQ(tags.out, "format|tag:cddb_discid=" + accurateRipName.substr(27, 8) + "|tag:track=2/3\n");
}

struct VerdictCase
{
    const char* name;
    // The reply's tracks from the true CRCs; the IDs from the disc's file name unless otherIds.
    std::vector<ReplyTrack> (*tracks)(const std::vector<Crcs>& crcs);
    bool otherIds;
    std::array<const char*, 3> verdicts;
};

class RipDiscVerdicts : public RipDisc, public ::testing::WithParamInterface<VerdictCase>
{
};

TEST_P(RipDiscVerdicts, EachTrackIsJudgedByTheReply)
{
    const VerdictCase& c = GetParam();
    std::string name = accurateRipName;
    if (c.otherIds)
        name.replace(9, 8, "0badd15c");
    const std::string reply = writeReply(dbarResponse(name, c.tracks(crcs)));
    const Result result = run({"rip-disc", cue(), "-o", folder(), "--format", "wav", "--accuraterip", reply});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (unsigned track = 1; track <= 3; ++track)
        EXPECT_NE(result.out.find("track " + std::to_string(track) + ": " + folder() + "/0" +
                                  std::to_string(track) + ".wav  " + c.verdicts[track - 1] + "\n"),
                  std::string::npos)
            << result.out;
    EXPECT_NE(log().find(std::string("Verdict:         ") + c.verdicts[1]), std::string::npos);
    EXPECT_EQ(result.err, c.otherIds ? "vantor-cd: the AccurateRip reply from " + reply +
                                           " is for another disc (" + accurateRipName + "); ripping on\n"
                                     : "");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RipDiscVerdicts,
    testing::Values(VerdictCase{"AllV1",
                                [](const std::vector<Crcs>& c) {
                                    return std::vector<ReplyTrack>{{5, c[0].v1}, {5, c[1].v1}, {5, c[2].v1}};
                                },
                                false,
                                {"accurate (confidence 5, v1)", "accurate (confidence 5, v1)",
                                 "accurate (confidence 5, v1)"}},
                    VerdictCase{"AllV2",
                                [](const std::vector<Crcs>& c) {
                                    return std::vector<ReplyTrack>{{7, c[0].v2}, {8, c[1].v2}, {9, c[2].v2}};
                                },
                                false,
                                {"accurate (confidence 7, v2)", "accurate (confidence 8, v2)",
                                 "accurate (confidence 9, v2)"}},
                    VerdictCase{"OneTrackWrong",
                                [](const std::vector<Crcs>& c) {
                                    return std::vector<ReplyTrack>{{5, c[0].v2}, {5, c[1].v2 + 1}, {0, 0}};
                                },
                                false,
                                {"accurate (confidence 5, v2)", "not accurate", "not in database"}},
                    VerdictCase{"AnotherDisc",
                                [](const std::vector<Crcs>& c) {
                                    return std::vector<ReplyTrack>{{5, c[0].v1}, {5, c[1].v1}, {5, c[2].v1}};
                                },
                                true,
                                {"not in database", "not in database", "not in database"}}),
    [](const testing::TestParamInfo<VerdictCase>& info) { return std::string(info.param.name); });

TEST_F(RipDisc, ASectorInDoubtOnADriveIsReadUntilTwoReadsWithoutC2ErrorsAgree)
{
    // The first read of a sector comes with the drive's read-ahead; each read again brings C2
    // pointers where the drive gives them. An unstable sector reads wrong every second time; a
    // c2-error sector reads the same wrong bytes twice, which only the drive's C2 pointers betray.
    // Either way track 2 takes two reads more than its sectors' two each.
    for (const char* drive :
         {"unstable=700 unstable=701", "no-c2 unstable=700 unstable=701", "c2-error=700x2"}) {
        SCOPED_TRACE(drive);
        std::filesystem::remove_all(folder());
        const Result result =
            run({"rip-disc", "/dev/sr7", "-o", folder(), "--format", "wav"},
                onEmulatedDrives("/dev/sr7 " + std::string(drive) + " " + std::string(kDisc)));
        ASSERT_EQ(result.exitCode, 0) << result.err;
        for (unsigned track = 1; track <= 3; ++track)
            EXPECT_TRUE(decodedPcm(folder() + "/0" + std::to_string(track) + ".wav") == pcm(track)) << track;
        for (unsigned track = 1; track <= 2; ++track)
            EXPECT_NE(log().find(logEntry(track, crcs[track - 1], track == 2 ? "2" : "0")), std::string::npos)
                << log();
    }
}

TEST_F(RipDisc, TheReadOffsetIsCorrectedInTheFilesAndTheirCrcs)
{
    const std::string reply =
        writeReply(dbarResponse(accurateRipName, {{5, crcs[0].v2}, {5, crcs[1].v2}, {5, crcs[2].v2}}));
    // A drive of read offset +6 delivers the disc's sample x - 6 at x.
    const Environment drive = onEmulatedDrives("/dev/sr7 offset=6 " + std::string(kDisc));
    const Result corrected = run(
        {"rip-disc", "/dev/sr7", "-o", folder(), "--format", "wav", "--accuraterip", reply, "--offset", "6"},
        drive);
    ASSERT_EQ(corrected.exitCode, 0) << corrected.err;
    EXPECT_TRUE(decodedPcm(folder() + "/01.wav") == pcm(1));
    EXPECT_TRUE(decodedPcm(folder() + "/02.wav") == pcm(2));
    // The drive reads no further than the lead-out: the disc's last 6 samples come out as silence.
    std::string last = pcm(3);
    last.replace(last.size() - 24, 24, 24, '\0');
    EXPECT_TRUE(decodedPcm(folder() + "/03.wav") == last);
    EXPECT_NE(log().find("Read offset:     6 samples\n"), std::string::npos) << log();
    EXPECT_NE(log().find("CRC32:           " + hex(plainCrc32(last))), std::string::npos) << log();
    for (const char* track : {"01", "02", "03"})
        EXPECT_NE(corrected.out.find(track + std::string(".wav  accurate (confidence 5, v2)\n")),
                  std::string::npos)
            << corrected.out;
    const Result shifted =
        run({"rip-disc", "/dev/sr7", "-o", folder() + "2", "--format", "wav", "--accuraterip", reply}, drive);
    EXPECT_NE(shifted.out.find("01.wav  not accurate\n"), std::string::npos) << shifted.out;
}

struct HiddenCase
{
    const char* name;
    const char* firstTrack; // the disc-image writer's words for track 1, before "audio:200"
    const char* cueSheet;   // expected
};

class RipDiscHiddenAudio : public ::testing::TestWithParam<HiddenCase>
{
protected:
    testsupport::ScratchDirectory scratch;
};

TEST_P(RipDiscHiddenAudio, AudioBeforeTrackOneIsTrackZeroUnlessSilent)
{
    const HiddenCase& c = GetParam();
    const std::string image = (scratch.path() / "image").string(), folder = (scratch.path() / "rip").string();
    writeImage(image, c.firstTrack + std::string(" audio:200"));
    const Result result = run({"rip-disc", image + "/disc.cue", "-o", folder, "--format", "wav"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readFile(folder + "/disc.cue"), c.cueSheet);
    // The data file holds what the disc holds from its first stored sector on.
    const std::string data = readFile(image + "/disc.bin");
    const size_t stored = data.size() - (300 + 200) * kRawSectorBytes;
    if (stored > 0)
        EXPECT_TRUE(decodedPcm(folder + "/00.wav") == data.substr(0, stored));
    EXPECT_EQ(std::filesystem::exists(folder + "/00.wav"), stored > 0);
    EXPECT_TRUE(decodedPcm(folder + "/01.wav") == data.substr(stored, 300 * kRawSectorBytes));
}

INSTANTIATE_TEST_SUITE_P(Discs, RipDiscHiddenAudio,
                         testing::Values(HiddenCase{"StoredPregap", "audio:300,pregap=40",
                                                    "FILE \"00.wav\" WAVE\n"
                                                    "  TRACK 01 AUDIO\n"
                                                    "    INDEX 00 00:00:00\n"
                                                    "FILE \"01.wav\" WAVE\n"
                                                    "    INDEX 01 00:00:00\n"
                                                    "FILE \"02.wav\" WAVE\n"
                                                    "  TRACK 02 AUDIO\n"
                                                    "    INDEX 01 00:00:00\n"},
                                         HiddenCase{"SilentPregap", "audio:300,silence=40",
                                                    "FILE \"01.wav\" WAVE\n"
                                                    "  TRACK 01 AUDIO\n"
                                                    "    INDEX 01 00:00:00\n"
                                                    "FILE \"02.wav\" WAVE\n"
                                                    "  TRACK 02 AUDIO\n"
                                                    "    INDEX 01 00:00:00\n"}),
                         [](const testing::TestParamInfo<HiddenCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RipDisc, TheReplyIsFetchedFromAUrl)
{
    const std::string path = "accuraterip/" + accurateRipName;
    scratch.write("server/" + path,
                  dbarResponse(accurateRipName, {{3, crcs[0].v1}, {3, crcs[1].v1}, {3, 0}}));
    const LocalHttpServer server(scratch.path() / "server");
    const Result result = run({"rip-disc", cue(), "-o", folder(), "--accuraterip", server.url(path)});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("03.flac  not accurate\n"), std::string::npos) << result.out;
    EXPECT_NE(log().find("AccurateRip:     1 responses from " + server.url(path) + "\n"), std::string::npos)
        << log();
    const Result missing =
        run({"rip-disc", cue(), "-o", folder() + "2", "--accuraterip", server.url("none.bin")});
    EXPECT_NE(missing.out.find("01.flac  not in database\n"), std::string::npos) << missing.out;
}

TEST_F(RipDisc, AReplyThatCannotBeHadLeavesTheRipUnverified)
{
    const std::string unreachable = "http://127.0.0.1:" + std::to_string(freePort()) + "/dBAR.bin";
    const std::string malformed = writeReply(std::string("\x03\x01\x02", 3));
    const struct
    {
        std::string source;
        std::string message;
    } cases[] = {
        {unreachable, "vantor-cd: cannot get the AccurateRip reply: Failed to connect to 127.0.0.1 port "},
        {malformed, "vantor-cd: the AccurateRip reply from " + malformed + " is malformed: "},
    };
    int attempt = 0;
    for (const auto& c : cases) {
        const std::string out = folder() + std::to_string(++attempt);
        const Result result = run({"rip-disc", cue(), "-o", out, "--accuraterip", c.source});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
        EXPECT_NE(result.err.find("; ripping on\n"), std::string::npos) << result.err;
        EXPECT_NE(result.out.find("03.flac  not verified\n"), std::string::npos) << result.out;
        EXPECT_TRUE(decodedPcm(out + "/03.flac") == pcm(3));
    }
}

TEST_F(RipDisc, AFolderThatHoldsFilesIsKeptUnlessForced)
{
    scratch.write("rip/01.wav", "mine");
    const Result refused = run({"rip-disc", cue(), "-o", folder(), "--format", "wav"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err,
              "vantor-cd: " + folder() + " already holds files; choose another folder or add --force\n");
    EXPECT_EQ(readFile(folder() + "/01.wav"), "mine");
    const Result forced = run({"rip-disc", cue(), "-o", folder(), "--format", "wav", "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_TRUE(decodedPcm(folder() + "/01.wav") == pcm(1));
}

TEST_F(RipDisc, CtrlCKeepsTheFinishedTracksAndNothingOfTheTrackItStopsIn)
{
    // Slow sectors keep the rip in track 2 while the shell sees track 1's file and sends SIGINT.
    const Result result = interruptedOnEmulatedDrives(
        {"rip-disc", "/dev/sr7", "-o", folder(), "--format", "wav"},
        "/dev/sr7 delay-us=2000 " + std::string(kDisc), "[ -e " + quoted(folder() + "/01.wav") + " ]");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "vantor-cd: interrupted in track 2; the tracks before it are complete and nothing of it "
              "was kept\n");
    EXPECT_EQ(filesLeft(), std::vector<std::string>{"01.wav"});
    EXPECT_TRUE(decodedPcm(folder() + "/01.wav") == pcm(1));
}

TEST_F(RipDisc, AFullDiskStopsTheRipWithTheSystemsReasonAndLeavesNothingOfTheTrackItStopsIn)
{
    // Files may grow to 1800 blocks of 512 bytes (921,600 bytes): the demo disc's track 1 (340
    // sectors) fits, its track 2 (465 sectors) does not. With SIGXFSZ ignored, the write that
    // crosses the limit fails with EFBIG, as on a full disk it fails with ENOSPC.
    const Result result = run({"-c", "ulimit -f 1800; trap '' XFSZ; exec \"$0\" \"$@\"", VANTOR_CD_BINARY,
                               "rip-disc", VANTOR_CD_DEMO_CUE, "-o", folder(), "--format", "wav"},
                              {}, {}, "sh");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vantor-cd: cannot write " + folder() +
                              "/02.wav: File too large; the tracks before it are complete and nothing of "
                              "track 2 was kept\n");
    EXPECT_EQ(filesLeft(), std::vector<std::string>{"01.wav"});
    const std::string demo = readFile(std::filesystem::path(VANTOR_CD_DEMO_CUE).parent_path() / "demo.bin");
    EXPECT_TRUE(decodedPcm(folder() + "/01.wav") == demo.substr(0, 340 * kRawSectorBytes));
}

TEST_F(RipDisc, AnEmulatedDriveRipsLikeTheImageAndStopsAtASectorThatNeverReads)
{
    // Each failed read of the sector costs the drive two: the batch read ahead, then the sector alone.
    const Result recovered = run({"rip-disc", "/dev/sr7", "-o", folder(), "--format", "wav"},
                                 onEmulatedDrives("/dev/sr7 medium-error=700x6 " + std::string(kDisc)));
    ASSERT_EQ(recovered.exitCode, 0) << recovered.err;
    for (unsigned track = 1; track <= 3; ++track)
        EXPECT_TRUE(decodedPcm(folder() + "/0" + std::to_string(track) + ".wav") == pcm(track)) << track;
    EXPECT_NE(log().find("Drive:           /dev/sr7\n"), std::string::npos) << log();
    EXPECT_NE(log().find(logEntry(2, crcs[1], "3")), std::string::npos) << log();
    const Result failed = run({"rip-disc", "/dev/sr7", "-o", folder() + "2", "--format", "wav"},
                              onEmulatedDrives("/dev/sr7 medium-error=700 " + std::string(kDisc)));
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err,
              "vantor-cd: cannot read sector 60 of track 2 (LBA 700): An internal error occured.\n");
    EXPECT_TRUE(std::filesystem::exists(folder() + "2/01.wav"));
    EXPECT_FALSE(std::filesystem::exists(folder() + "2/02.wav"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder() + "2"), {}), 1);
}

} // namespace
} // namespace vantorcd
