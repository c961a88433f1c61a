// Which CUE sheets and data files open as a disc image; every refused one is CUEIFY_ERR_NO_DEVICE.
#include "CueifyTesting.h"

#include <mkdisc/DiscWriter.h>

#include <sys/stat.h>

namespace cueify::test {
namespace {

struct RefusedCase
{
    const char* name;
    std::string sheet;                              // in place of the written one, unless empty
    void (*damage)(const fs::path& data) = nullptr; // done to the data file, if set
    mkdisc::DataFileFormat format = mkdisc::DataFileFormat::Binary;
};

TEST(ImageLoader, MalformedSheetsAndUnfitDataFilesAreNoDevice)
{
    const std::string file = "FILE \"disc.bin\" BINARY\n"; // 300 sectors, 00:04:00
    const auto wave = mkdisc::DataFileFormat::Wave;
    const RefusedCase cases[] = {
        {"UnknownKeyword", "this is not a CUE sheet\n"},
        {"UnclosedQuote", "FILE \"disc.bin BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"},
        {"TrackWithoutIndex01", file + " TRACK 01 AUDIO\n INDEX 00 00:00:00\n INDEX 02 00:01:00\n"},
        {"CookedSectors", file + " TRACK 01 MODE1/2048\n INDEX 01 00:00:00\n"},
        {"FramesBeyond74", file + " TRACK 01 AUDIO\n INDEX 01 00:00:75\n"},
        {"TrackNumbersSkip",
         file + " TRACK 01 AUDIO\n INDEX 01 00:00:00\n TRACK 03 AUDIO\n INDEX 01 00:02:00\n"},
        {"SessionsSkipANumber", "REM SESSION 01\n" + file +
                                    " TRACK 01 AUDIO\n INDEX 01 00:00:00\n"
                                    "REM SESSION 03\n TRACK 02 AUDIO\n INDEX 01 00:02:00\n"},
        {"StartAtTheFileEnd",
         file + " TRACK 01 AUDIO\n INDEX 01 00:00:00\n TRACK 02 AUDIO\n INDEX 01 00:04:00\n"},
        {"Index00AfterIndex01", file + " TRACK 01 AUDIO\n INDEX 01 00:00:00\n TRACK 02 AUDIO\n"
                                       " INDEX 00 00:02:10\n INDEX 01 00:02:00\n"},
        {"LongerThan99Minutes", file + " TRACK 01 AUDIO\n PREGAP 99:59:00\n INDEX 01 00:00:00\n"},
        {"MissingDataFile", "FILE \"missing.bin\" BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"},
        {"DataFileIsADirectory", "FILE \".\" BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n"},
        {"DataFileIsAFifo", "",
         [](const fs::path& data) {
             fs::remove(data);
             mkfifo(data.c_str(), 0600);
         }},
        {"DataFileShorterThanASector", "", [](const fs::path& data) { fs::resize_file(data, 2000); }},
        {"NotAWaveFile", "", [](const fs::path& data) { patch(data, 8, "AVI "); }, wave},
        {"WaveInFloat", "", [](const fs::path& data) { patch(data, 20, "\x03"); }, wave},
        {"WaveInMono", "", [](const fs::path& data) { patch(data, 22, "\x01"); }, wave},
        {"WaveAt48kHz", "", [](const fs::path& data) { patch(data, 24, "\x80\xBB"); }, wave},
        {"WaveOf8BitSamples", "", [](const fs::path& data) { patch(data, 34, "\x08"); }, wave},
        {"WaveWithoutDataChunk", "", [](const fs::path& data) { fs::resize_file(data, 36); }, wave}};
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScratchDirectory scratch;
        const mkdisc::WrittenDisc disc =
            mkdisc::writeDisc({"disc", {{{{mkdisc::TrackMode::Audio, 300}}}}, c.format}, scratch.path());
        if (!c.sheet.empty())
            std::ofstream(disc.cueSheet, std::ios::trunc) << c.sheet;
        if (c.damage)
            c.damage(disc.dataFiles.at(0));
        openDevice(disc.cueSheet, CUEIFY_ERR_NO_DEVICE);
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
