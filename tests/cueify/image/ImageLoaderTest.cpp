// Which data files open as a disc image; every refused one is CUEIFY_ERR_NO_DEVICE, with its reason.
#include "cueify_testing/CueifyTesting.h"

#include <cueify/last_error.h>
#include <mkdisc/DiscWriter.h>

#include <sys/stat.h>

namespace cueify::test {
namespace {

struct RefusedCase
{
    const char* reason;
    void (*damage)(const fs::path& data);
    mkdisc::DataFileFormat format = mkdisc::DataFileFormat::Binary;
};

// The writer's own sheet over a data file damaged after it was written; the reasons of the data
// file readers (WaveFormat, AiffFormat) reach the caller with the sheet's name and line.
TEST(ImageLoader, UnfitDataFilesAreNoDeviceWithTheirReason)
{
    const auto wave = mkdisc::DataFileFormat::Wave;
    const RefusedCase cases[] = {{"disc.cue:1: cannot open 'disc.bin': not a regular file",
                                  [](const fs::path& data) {
                                      fs::remove(data);
                                      fs::create_directory(data);
                                  }},
                                 {"disc.cue:1: cannot open 'disc.bin': not a regular file",
                                  [](const fs::path& data) {
                                      fs::remove(data);
                                      mkfifo(data.c_str(), 0600);
                                  }},
                                 {"disc.cue:3: INDEX 01 of track 1 lies past the end of 'disc.bin'",
                                  [](const fs::path& data) { fs::resize_file(data, 2000); }},
                                 {"disc.cue:1: 'disc.wav': not a known audio format",
                                  [](const fs::path& data) { patch(data, 8, "AVI "); }, wave},
                                 {"disc.cue:1: 'disc.wav': not 44,100 Hz 16-bit stereo (48,000 Hz)",
                                  [](const fs::path& data) { patch(data, 24, "\x80\xBB"); }, wave},
                                 {"disc.cue:1: 'disc.wav': WAVE file without a data chunk",
                                  [](const fs::path& data) { fs::resize_file(data, 36); }, wave}};
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.reason);
        testsupport::ScratchDirectory scratch;
        const mkdisc::WrittenDisc disc =
            mkdisc::writeDisc({"disc", {{{{mkdisc::TrackMode::Audio, 300}}}}, c.format}, scratch.path());
        c.damage(disc.dataFiles.at(0));
        openDevice(disc.cueSheet, CUEIFY_ERR_NO_DEVICE);
        EXPECT_EQ(std::string(cueify_get_last_error()), c.reason);
    }
}

// A byte-order mark, Windows line ends and no final one, CD-Text and remarks, a quoted file name
// with spaces, track numbers from 5, a POSTGAP, a sheet name in capitals.
TEST(ImageLoader, SheetAsOtherToolsWriteItOpens)
{
    testsupport::ScratchDirectory scratch;
    mkdisc::writeDisc({"my disc", {{{{mkdisc::TrackMode::Audio, 300}}}}}, scratch.path());
    const fs::path cue =
        scratch.write("DISC.CUE", "\xEF\xBB\xBFREM GENRE Test\r\nCATALOG 0000000000000\r\n"
                                  "PERFORMER \"A \\\"quoted\\\" name\"\r\nTITLE Plain\r\n"
                                  "FILE \"my disc.bin\" BINARY\r\n  TRACK 05 AUDIO\r\n"
                                  "    TITLE \"One\"\r\n    FLAGS SCMS\r\n    ISRC ABCDE1234567\r\n"
                                  "    INDEX 01 00:00:00\r\n    POSTGAP 00:01:00\r\n"
                                  "  TRACK 06 AUDIO\r\n    INDEX 01 00:02:00");
    EXPECT_EQ(describeToc(readToc(openDevice(cue).get()).get()),
              "session 1: tracks 5-6, type 0x00, lead-out 00:07:00\n"
              "track 5: session 1, control 0x0, at 00:02:00, length 00:03:00\n"
              "track 6: session 1, control 0x0, at 00:05:00, length 00:02:00\n");
}

} // namespace
} // namespace cueify::test
