// An image's CD-Text, from its sheet's lines or its CDTEXTFILE, read as from a drive.
#include "cueify_testing/CdTextTesting.h"
#include "cueify_testing/CueifyTesting.h"

#include <cueify/last_error.h>

namespace cueify::test {
namespace {

// The sheet's lines for the disc, then each track's lines before its INDEX 01.
std::string sheetWith(const std::string& disc, const std::vector<std::string>& tracks)
{
    std::string sheet = disc + "FILE \"disc.bin\" BINARY\n";
    for (size_t n = 0; n < 3; ++n)
        sheet += "  TRACK 0" + std::to_string(n + 1) + " AUDIO\n" + (n < tracks.size() ? tracks[n] : "") +
                 "    INDEX 01 00:0" + std::to_string(2 * n) + ":00\n";
    return sheet;
}

// The result of reading the image's CD-Text, then its blocks; the reason when the read fails.
std::string cdTextOf(const std::string& sheet, const std::string& cdTextFile = "")
{
    testsupport::ScratchDirectory scratch;
    scratch.write("disc.bin", std::string(450 * CUEIFY_RAW_SECTOR_SIZE, '\0'));
    if (!cdTextFile.empty())
        scratch.write("disc.cdt", cdTextFile);
    const DeviceOwner device = openDevice(scratch.write("disc.cue", sheet));
    const CdTextOwner cdText(cueify_cdtext_new());
    const int result = cueify_device_read_cdtext(device.get(), cdText.get());
    if (result != CUEIFY_OK)
        return "result " + std::to_string(result) + ": " + cueify_get_last_error();
    std::string text;
    for (uint8_t b = 0; b <= cueify_cdtext_get_num_blocks(cdText.get()); ++b)
        text += describeBlock(cueify_cdtext_get_block(cdText.get(), b));
    return text;
}

// The sheet's lines are one block of ISO 8859-1 in English (港 does not fit in it); an ISRC is no
// CD-Text there.
TEST(ImageCdText, SheetLinesFileAndNeitherGiveTheirBlocks)
{
    PackBuilder packs;
    packs.block(0, CUEIFY_CDTEXT_CHARSET_ISO8859_1, 1, 3, 0, CUEIFY_CDTEXT_LANG_GERMAN);
    packs.text(0x80, {"Hafenlichter\0"s, "Ebbe\0"s, "\t\0"s, "Mole\0"s});
    const std::vector<uint8_t> fileBytes = packs.finish();
    const std::string file(fileBytes.begin(), fileBytes.end());
    const std::string fromFile = "charset 0, language 8, tracks 1-3, flags 00000, id -, genre 0 -\n"
                                 "title: Hafenlichter|Ebbe|Ebbe|Mole|-\nno block\n";
    const std::string withFile = sheetWith("CDTEXTFILE \"disc.cdt\"\nTITLE \"Ignored\"\n", {});
    const struct
    {
        const char* name;
        std::string sheet;
        std::string file;
        std::string expected;
    } cases[] = {
        {"SheetLines",
         sheetWith("TITLE \"Harbour Lights\"\nPERFORMER \"Björk & the Quay\"\nSONGWRITER \"J. Wren\"\n"
                   "MESSAGE \"港 live\"\nDISC_ID \"HL-0042\"\nGENRE \"Jazz\"\nUPC_EAN 0012345678905\n",
                   {"    TITLE \"Low Tide\"\n    ISRC GBXYZ2600001\n",
                    "    TITLE \"Pier\"\n    PERFORMER \"Ada Marsh\"\n",
                    "    TITLE \"Pier\"\n    PERFORMER \"Ada Marsh\"\n"}),
         "",
         "charset 0, language 9, tracks 1-3, flags 00000, id HL-0042, genre 14 Jazz\n"
         "title: Harbour Lights|Low Tide|Pier|Pier|-\n"
         "performer: Björk & the Quay|-|Ada Marsh|Ada Marsh|-\n"
         "songwriter: J. Wren|-|-|-|-\n"
         "message: ? live|-|-|-|-\n"
         "upc_isrc: 0012345678905|-|-|-|-\n"
         "no block\n"},
        {"NoCdText", sheetWith("CATALOG 0012345678905\n", {}), "", "no block\n"},
        // A genre outside the list has code 1, "not defined", and keeps its name.
        {"UnlistedGenre", sheetWith("GENRE \"Sea Shanty\"\n", {}), "",
         "charset 0, language 9, tracks 1-3, flags 00000, id -, genre 1 Sea Shanty\nno block\n"},
        // The file wins over the sheet's lines, with or without its header and closing NUL.
        {"FileWithHeader", withFile, file, fromFile},
        {"FileWithoutHeader", withFile, file.substr(4), fromFile},
        {"FileWithHeaderAndClosingNul", withFile, file + '\0', fromFile},
        {"FileCutShort", withFile, file.substr(0, file.size() - 7),
         "result " + std::to_string(CUEIFY_ERR_TRUNCATED) +
             ": 'disc.cdt': CD-Text of 105 bytes says it has 112"},
        // A missing file fails the read, not the open.
        {"FileMissing", sheetWith("CDTEXTFILE \"gone.cdt\"\n", {}), "",
         "result " + std::to_string(CUEIFY_ERR_INTERNAL) + ": cannot open 'gone.cdt': no such file"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cdTextOf(c.sheet, c.file), c.expected) << c.name;
}

// A track's text that repeats the one before is written as a TAB, the packs' own shorthand; the
// album's missing title as an empty string.
TEST(ImageCdText, RepeatedTrackTextIsWrittenAsTab)
{
    testsupport::ScratchDirectory scratch;
    scratch.write("disc.bin", std::string(450 * CUEIFY_RAW_SECTOR_SIZE, '\0'));
    const DeviceOwner device = openDevice(scratch.write(
        "disc.cue", sheetWith("", {"    TITLE \"Pier\"\n", "    TITLE \"Pier\"\n", "    TITLE \"Pier\"\n"})));
    const CdTextOwner cdText(cueify_cdtext_new());
    ASSERT_EQ(cueify_device_read_cdtext(device.get(), cdText.get()), CUEIFY_OK);
    PackBuilder expected;
    expected.block(0, CUEIFY_CDTEXT_CHARSET_ISO8859_1, 1, 3, 0, CUEIFY_CDTEXT_LANG_ENGLISH);
    expected.text(0x80, {"\0"s, "Pier\0"s, "\t\0"s, "\t\0"s});
    EXPECT_EQ(serializedPacks(cdText.get()), expected.finish());
}

} // namespace
} // namespace cueify::test
