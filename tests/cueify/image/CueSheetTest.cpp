// Hand-written CUE sheets in the layouts and encodings that sheet writers produce: each opens
// with the TOC the CUE rules give and reads its sectors from the right bytes of its files, and
// each malformed one, or one whose data file is unfit, is refused with a reason that names the
// fault.
#include "cueify_testing/CueifyTesting.h"
#include "wave/WaveFile.h"

#include <cueify/last_error.h>

#include <sys/stat.h>

#include <vector>

namespace cueify::test {
namespace {

constexpr uint32_t kSector = CUEIFY_RAW_SECTOR_SIZE;

// A data file of sectors of sectorBytes each, every byte telling its file and position apart.
struct DataFile
{
    std::string name;
    uint32_t sectors = 0;
    uint32_t sectorBytes = kSector;
};

std::string fileBytes(const DataFile& file, uint8_t seed)
{
    std::string bytes(uint64_t{file.sectors} * file.sectorBytes, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i / 2 * 7 + i % 2 * 101 + seed * 59) % 251);
    return bytes;
}

// Which bytes of which file a disc sector must hold.
struct ExpectedSector
{
    uint32_t lba = 0;
    size_t file = 0;
    uint64_t offset = 0;
    bool swapped = false; // 16-bit samples stored big-endian
};

struct SheetCase
{
    std::string sheet; // raw bytes, in whatever encoding the case is about
    std::vector<DataFile> files;
    std::string toc;
    std::vector<ExpectedSector> sectors;
};

std::string utf16(const std::string& ascii, bool bigEndian)
{
    std::string text = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : ascii)
        text += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return text;
}

const std::string kTwoTracks =
    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n";
const std::string kOneSecondToc = "session 1: tracks 1-1, type 0x00, lead-out 00:03:00\n"
                                  "track 1: session 1, control 0x0, at 00:02:00, length 00:01:00\n";
const std::string kTwoTracksToc = "session 1: tracks 1-2, type 0x00, lead-out 00:06:00\n"
                                  "track 1: session 1, control 0x0, at 00:02:00, length 00:02:00\n"
                                  "track 2: session 1, control 0x0, at 00:04:00, length 00:02:00\n";

// The sheets are named in capitals: the extension tells a sheet whatever its letter case.
TEST(CueSheet, SheetsAsWritersLayThemOutOpenWithTheirTocAndSectors)
{
    const std::vector<SheetCase> cases = {
        // A track's pregap at the end of the previous file, its INDEX 01 at the start of its own (the
        // disc-image writer's pregaps start their tracks' files, as ImageDeviceTest reads them).
        {"FILE \"01.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n"
         "    INDEX 00 00:03:00\nFILE \"02.bin\" BINARY\n    INDEX 01 00:00:00\n",
         {{"01.bin", 300}, {"02.bin", 150}},
         "session 1: tracks 1-2, type 0x00, lead-out 00:08:00\n"
         "track 1: session 1, control 0x0, at 00:02:00, length 00:04:00\n"
         "track 2: session 1, control 0x0, at 00:06:00, length 00:02:00\n",
         {{224, 0, 224 * kSector}, {225, 0, 225 * kSector}, {299, 0, 299 * kSector}, {300, 1, 0}}},
        // Lower-case keywords, a Windows sub-folder, a file name in other letter case, CR line ends;
        // remarks are comments whatever they hold: keywords, quotes, nothing after a keyword, no line end.
        {"REM DATE\rfile \"Sub\\DISC.BIN\" binary\r  track 01 audio\r    index 01 00:00:00\r"
         "REM GENRE \"a\" REM\rREM GENREc REM",
         {{"Sub/disc.bin", 75}},
         kOneSecondToc,
         {{74, 0, 74 * kSector}}},
        // UTF-16 with its byte-order mark, little- and big-endian.
        {utf16("FILE \"a.bin\" BINARY\r\n" + kTwoTracks, false), {{"a.bin", 300}}, kTwoTracksToc, {}},
        {utf16("FILE \"a.bin\" BINARY\n" + kTwoTracks, true), {{"a.bin", 300}}, kTwoTracksToc, {}},
        // Windows-1252: 0xE9 is an e with an acute accent, 0x80 the euro sign.
        {"FILE \"Caf\xE9 \x80.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n",
         {{"Caf\xC3\xA9 \xE2\x82\xAC.bin", 75}},
         kOneSecondToc,
         {}},
        // A byte-order mark, Windows line ends and no final one, CD-Text and remarks, quotes inside a
        // quoted text, a file name with spaces, track numbers from 5, a POSTGAP.
        {"\xEF\xBB\xBFREM GENRE Test\r\nCATALOG 0000000000000\r\nPERFORMER \"A \\\"quoted\\\" name\"\r\n"
         "TITLE Plain\r\nFILE \"my disc.bin\" BINARY\r\n  TRACK 05 AUDIO\r\n    TITLE \"One\"\r\n"
         "    FLAGS SCMS\r\n    ISRC ABCDE1234567\r\n    INDEX 01 00:00:00\r\n    POSTGAP 00:01:00\r\n"
         "  TRACK 06 AUDIO\r\n    INDEX 01 00:02:00",
         {{"my disc.bin", 300}},
         "session 1: tracks 5-6, type 0x00, lead-out 00:07:00\n"
         "track 5: session 1, control 0x0, at 00:02:00, length 00:03:00\n"
         "track 6: session 1, control 0x0, at 00:05:00, length 00:02:00\n",
         {{225, 0, 150 * kSector}}},
        // MOTOROLA files hold their samples big-endian.
        {"FILE \"a.raw\" MOTOROLA\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n",
         {{"a.raw", 75}},
         kOneSecondToc,
         {{0, 0, 0, true}, {74, 0, 74 * kSector, true}}},
        // CD+G keeps 96 bytes of sub-channel after each sector's samples.
        {"FILE \"a.cdg.bin\" BINARY\n  TRACK 01 CDG\n    INDEX 01 00:00:00\n",
         {{"a.cdg.bin", 75, 2448}},
         kOneSecondToc,
         {{0, 0, 0}, {74, 0, 74 * 2448}}},
    };
    for (const SheetCase& c : cases) {
        SCOPED_TRACE(c.sheet);
        const testsupport::ScratchDirectory scratch;
        for (size_t f = 0; f < c.files.size(); ++f)
            scratch.write(c.files[f].name, fileBytes(c.files[f], static_cast<uint8_t>(f)));
        const DeviceOwner device = openDevice(scratch.write("DISC.CUE", c.sheet));
        EXPECT_EQ(describeToc(readToc(device.get()).get()), c.toc) << cueify_get_last_error();
        for (const ExpectedSector& expected : c.sectors) {
            std::string bytes = fileBytes(c.files[expected.file], static_cast<uint8_t>(expected.file))
                                    .substr(expected.offset, kSector);
            for (size_t i = 0; expected.swapped && i < bytes.size(); i += 2)
                std::swap(bytes[i], bytes[i + 1]);
            Sector sector{};
            EXPECT_EQ(cueify_device_read_raw(device.get(), expected.lba, sector.data()), CUEIFY_OK);
            EXPECT_TRUE(std::string(sector.begin(), sector.end()) == bytes) << "LBA " << expected.lba;
        }
    }
}

// A cooked data track before the audio in one file: each track's sectors take their own size in
// the file, and a cooked sector reads back raw, with sync, its address in BCD, its mode and its data.
TEST(CueSheet, CookedDataSectorsReadRawAndTheAudioAfterThemFromTheirOwnOffset)
{
    const testsupport::ScratchDirectory scratch;
    const std::string data = fileBytes({"", 75, 2048}, 1);
    const std::string audio = fileBytes({"", 75, kSector}, 2);
    scratch.write("mixed.bin", data + audio);
    const DeviceOwner device = openDevice(
        scratch.write("disc.cue", "FILE mixed.bin BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n"
                                  "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n"));
    EXPECT_EQ(describeToc(readToc(device.get()).get()),
              "session 1: tracks 1-2, type 0x00, lead-out 00:04:00\n"
              "track 1: session 1, control 0x4, at 00:02:00, length 00:01:00\n"
              "track 2: session 1, control 0x0, at 00:03:00, length 00:01:00\n");
    Sector sector{};
    ASSERT_EQ(cueify_device_read_raw(device.get(), 10, sector.data()), CUEIFY_OK);
    const std::string raw(sector.begin(), sector.end());
    EXPECT_EQ(raw.substr(0, 16),
              std::string("\x00\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00\x02\x10\x01", 16));
    EXPECT_TRUE(raw.substr(16, 2048) == data.substr(10 * 2048, 2048));
    ASSERT_EQ(cueify_device_read_raw(device.get(), 75, sector.data()), CUEIFY_OK);
    EXPECT_TRUE(std::string(sector.begin(), sector.end()) == audio.substr(0, kSector));
}

// Beside each sheet lie a.bin of 300 sectors, a folder, a FIFO and a WAVE file of 48,000 Hz; the
// reasons of the data file readers reach the caller with the sheet's name and line.
TEST(CueSheet, MalformedSheetsAndUnfitDataFilesAreRefusedWithTheFaultAndItsLine)
{
    const std::string file = "FILE \"a.bin\" BINARY\n", track = "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    const struct
    {
        std::string sheet;
        std::string reason;
    } cases[] = {
        {"", "disc.cue: no TRACK in the sheet"},
        {"this is not a CUE sheet\n", "disc.cue:1: unknown keyword this"},
        {file + "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n    INDEX 00 00:01:00\n",
         "disc.cue:4: INDEX 00 after INDEX 01 in track 1"},
        {file + "  TRACK 01 AUDIO\n    INDEX 00 00:00:00\n    INDEX 02 00:01:00\n",
         "disc.cue:4: INDEX 02 after INDEX 00 in track 1"},
        {file + "  TRACK 01 AUDIO\n    INDEX 00 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n",
         "disc.cue:2: track 1 has no INDEX 01"},
        {file + kTwoTracks + "  TRACK 02 AUDIO\n    INDEX 01 00:03:00\n",
         "disc.cue:6: track 2 after track 2 (track numbers count up by one)"},
        {file + kTwoTracks + "  TRACK 01 AUDIO\n    INDEX 01 00:03:00\n",
         "disc.cue:6: track 1 after track 2 (track numbers count up by one)"},
        {file + "  TRACK 00 AUDIO\n", "disc.cue:2: malformed track number 00 (01 to 99)"},
        {file + "  TRACK 01 MODE3/2352\n", "disc.cue:2: unknown track mode MODE3/2352"},
        {file + "  TRACK 01 AUDIO\n    INDEX 01 00:60:00\n",
         "disc.cue:3: malformed time 00:60:00 (mm:ss:ff, with seconds below 60 and frames below 75)"},
        {file + "  TRACK 01 AUDIO\n    INDEX 01 00:00:75\n",
         "disc.cue:3: malformed time 00:00:75 (mm:ss:ff, with seconds below 60 and frames below 75)"},
        {file + "  TRACK 01 AUDIO\n    INDEX 01 00:02:00\n  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n",
         "disc.cue:5: INDEX 01 of track 2 at 00:01:00 lies before the index above it"},
        {file + "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:04:00\n",
         "disc.cue:5: INDEX 01 of track 2 lies past the end of 'a.bin'"},
        {"  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", "disc.cue:1: TRACK before the first FILE"},
        {file + "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n    PREGAP 00:02:00\n",
         "disc.cue:4: PREGAP after INDEX in track 1"},
        {file + "  TRACK 01 AUDIO\n    ISRC ABC\n",
         "disc.cue:3: malformed ISRC ABC (12 characters: 5 letters or digits, then 7 digits)"},
        {"CATALOG 12345\n", "disc.cue:1: malformed CATALOG 12345 (13 digits)"},
        {file + "  TRACK 01 AUDIO\n    FLAGS LOUD\n", "disc.cue:3: unknown flag LOUD"},
        {"FILE \"a.bin BINARY\n", "disc.cue:1: a quote that is not closed"},
        {"FILE \"a.bin\" OGG\n", "disc.cue:1: unknown FILE type OGG"},
        {"REM SESSION 02\n" + file, "disc.cue:1: session 1 has no tracks"},
        {file + kTwoTracks + "REM SESSION 03\n", "disc.cue:6: session 3 after session 1"},
        {"FILE \"absent.bin\" BINARY\n" + track, "disc.cue:1: cannot open 'absent.bin': no such file"},
        {file + "  TRACK 01 AUDIO\n    PREGAP 99:59:00\n    INDEX 01 00:00:00\n",
         "disc.cue: the disc would last longer than 99:59:74"},
        {std::string("FILE \"a.bin\" BINARY\n\0", 21), "disc.cue: NUL byte in the sheet: not a text file"},
        {"FILE folder BINARY\n" + track, "disc.cue:1: cannot open 'folder': not a regular file"},
        {"FILE fifo BINARY\n" + track, "disc.cue:1: cannot open 'fifo': not a regular file"},
        {"FILE 48k.wav WAVE\n" + track, "disc.cue:1: '48k.wav': not 44,100 Hz 16-bit stereo (48,000 Hz)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        const testsupport::ScratchDirectory scratch;
        scratch.write("a.bin", std::string(300 * kSector, '\0'));
        scratch.write("48k.wav",
                      wavefile::riffWave(wavefile::plainFormat(48000) + wavefile::chunk("data", "")));
        fs::create_directory(scratch.path() / "folder");
        ASSERT_EQ(mkfifo((scratch.path() / "fifo").c_str(), 0600), 0);
        openDevice(scratch.write("disc.cue", c.sheet), CUEIFY_ERR_NO_DEVICE);
        EXPECT_EQ(std::string(cueify_get_last_error()), c.reason);
    }
}

} // namespace
} // namespace cueify::test
