// An image's CD-Text, from its sheet's lines or its CDTEXTFILE, read as from a drive.
#include "cueify_testing/CdTextTesting.h"
#include "cueify_testing/CueifyTesting.h"

#include <cueify/last_error.h>

namespace cueify::test {
namespace {

const std::string kTracks = "FILE \"disc.bin\" BINARY\n"
                            "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                            "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n"
                            "  TRACK 03 AUDIO\n    INDEX 01 00:04:00\n";

fs::path writeImage(const testsupport::ScratchDirectory& scratch, const std::string& sheet)
{
    scratch.write("disc.bin", std::string(450 * CUEIFY_RAW_SECTOR_SIZE, '\0'));
    return scratch.write("disc.cue", sheet);
}

// The sheet's lines for the disc, then before each TRACK line of kTracks those of that track.
std::string sheetWith(const std::string& disc, const std::vector<std::string>& tracks)
{
    std::string sheet = disc + kTracks;
    size_t at = 0;
    for (const std::string& lines : tracks) {
        at = sheet.find("INDEX 01", at);
        sheet.insert(at, lines);
        at += lines.size() + 1;
    }
    return sheet;
}

CdTextOwner readCdText(cueify_device* device, int expected = CUEIFY_OK)
{
    CdTextOwner cdText(cueify_cdtext_new());
    EXPECT_EQ(cueify_device_read_cdtext(device, cdText.get()), expected) << cueify_get_last_error();
    return cdText;
}

std::string shown(const char* text)
{
    return text ? text : "(null)";
}

const std::string kDiscLines =
    "TITLE \"Harbour Lights\"\nPERFORMER \"Björk & the Quay\"\nSONGWRITER \"J. Wren\"\n"
    "MESSAGE \"港 live\"\nDISC_ID \"HL-0042\"\nGENRE \"Jazz\"\nUPC_EAN 0012345678905\n";

TEST(ImageCdText, SheetLinesReadAsOneIsoLatin1EnglishBlock)
{
    testsupport::ScratchDirectory scratch;
    const std::string sheet = sheetWith(kDiscLines, {"    TITLE \"Low Tide\"\n    ISRC GBXYZ2600001\n",
                                                     "    TITLE \"Pier\"\n    PERFORMER \"Ada Marsh\"\n",
                                                     "    TITLE \"Pier\"\n    PERFORMER \"Ada Marsh\"\n"});
    const DeviceOwner device = openDevice(writeImage(scratch, sheet));
    const CdTextOwner cdText = readCdText(device.get());
    ASSERT_EQ(cueify_cdtext_get_num_blocks(cdText.get()), 1);
    cueify_cdtext_block* block = cueify_cdtext_get_block(cdText.get(), 0);
    EXPECT_EQ(cueify_cdtext_block_get_charset(block), CUEIFY_CDTEXT_CHARSET_ISO8859_1);
    EXPECT_EQ(cueify_cdtext_block_get_language(block), CUEIFY_CDTEXT_LANG_ENGLISH);
    EXPECT_EQ(cueify_cdtext_block_get_first_track(block), 1);
    EXPECT_EQ(cueify_cdtext_block_get_last_track(block), 3);
    const std::vector<std::pair<std::string, std::string>> texts = {
        {shown(cueify_cdtext_block_get_title(block, 0)), "Harbour Lights"},
        {shown(cueify_cdtext_block_get_title(block, 1)), "Low Tide"},
        {shown(cueify_cdtext_block_get_title(block, 2)), "Pier"},
        {shown(cueify_cdtext_block_get_title(block, 3)), "Pier"},
        {shown(cueify_cdtext_block_get_performer(block, 0)), "Björk & the Quay"},
        {shown(cueify_cdtext_block_get_performer(block, 1)), "(null)"},
        {shown(cueify_cdtext_block_get_performer(block, 3)), "Ada Marsh"},
        {shown(cueify_cdtext_block_get_songwriter(block, 0)), "J. Wren"},
        {shown(cueify_cdtext_block_get_message(block, 0)), "? live"},
        {shown(cueify_cdtext_block_get_composer(block, 0)), "(null)"},
        {shown(cueify_cdtext_block_get_upc_isrc(block, 0)), "0012345678905"},
        {shown(cueify_cdtext_block_get_upc_isrc(block, 1)), "(null)"},
        {shown(cueify_cdtext_block_get_discid(block)), "HL-0042"},
        {shown(cueify_cdtext_block_get_genre_name(block)), "Jazz"},
    };
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(texts[i].first, texts[i].second) << "text " << i;
    EXPECT_EQ(cueify_cdtext_block_get_genre_code(block), 14);
}

// A track's text that repeats the one before is written as a TAB, the packs' own shorthand.
TEST(ImageCdText, RepeatedTrackTextIsWrittenAsTab)
{
    testsupport::ScratchDirectory scratch;
    const std::string sheet =
        sheetWith("", {"    TITLE \"Pier\"\n", "    TITLE \"Pier\"\n", "    TITLE \"Pier\"\n"});
    const DeviceOwner device = openDevice(writeImage(scratch, sheet));
    const CdTextOwner cdText = readCdText(device.get());
    const std::vector<uint8_t> packs = serializedPacks(cdText.get());
    ASSERT_GE(packs.size(), 20u);
    // The album's empty title, "Pier", then a TAB for tracks 2 and 3, in the first title pack.
    const std::string expected = bytes("\0Pier\0\t\0\t\0\0\0");
    EXPECT_EQ(std::string(packs.begin() + 8, packs.begin() + 20), expected);
    for (uint8_t track = 1; track <= 3; ++track)
        EXPECT_STREQ(cueify_cdtext_block_get_title(cueify_cdtext_get_block(cdText.get(), 0), track), "Pier");
}

TEST(ImageCdText, SheetWithoutCdTextGivesNoBlock)
{
    testsupport::ScratchDirectory scratch;
    const DeviceOwner device = openDevice(writeImage(scratch, sheetWith("CATALOG 0012345678905\n", {})));
    const CdTextOwner cdText = readCdText(device.get());
    EXPECT_EQ(cueify_cdtext_get_num_blocks(cdText.get()), 0);
    EXPECT_EQ(cueify_cdtext_get_block(cdText.get(), 0), nullptr);
}

std::vector<uint8_t> fileCdText()
{
    PackBuilder packs;
    packs.block(0, CUEIFY_CDTEXT_CHARSET_ISO8859_1, 1, 3, 0, CUEIFY_CDTEXT_LANG_GERMAN);
    packs.text(
        0x80, 0,
        {{0, bytes("Hafenlichter\0")}, {1, bytes("Ebbe\0")}, {2, bytes("\t\0")}, {3, bytes("Mole\0")}});
    return packs.finish();
}

struct FileCase
{
    const char* name;
    std::string content;
    int expected;
};

TEST(ImageCdText, CdTextFileWinsOverTheSheetsLines)
{
    const std::vector<uint8_t> packs = fileCdText();
    const std::string withHeader(packs.begin(), packs.end());
    const std::vector<FileCase> cases = {
        {"WithHeader", withHeader, CUEIFY_OK},
        {"WithoutHeader", withHeader.substr(4), CUEIFY_OK},
        {"WithHeaderAndClosingNul", withHeader + '\0', CUEIFY_OK},
        {"CutShort", withHeader.substr(0, withHeader.size() - 7), CUEIFY_ERR_TRUNCATED},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScratchDirectory scratch;
        scratch.write("disc.cdt", c.content);
        const DeviceOwner device =
            openDevice(writeImage(scratch, sheetWith("CDTEXTFILE \"disc.cdt\"\nTITLE \"Ignored\"\n", {})));
        const CdTextOwner cdText = readCdText(device.get(), c.expected);
        if (c.expected != CUEIFY_OK)
            continue;
        cueify_cdtext_block* block = cueify_cdtext_get_block(cdText.get(), 0);
        EXPECT_EQ(cueify_cdtext_block_get_language(block), CUEIFY_CDTEXT_LANG_GERMAN);
        EXPECT_EQ(shown(cueify_cdtext_block_get_title(block, 0)), "Hafenlichter");
        EXPECT_EQ(shown(cueify_cdtext_block_get_title(block, 2)), "Ebbe");
    }
}

TEST(ImageCdText, MissingCdTextFileFailsTheReadNotTheOpen)
{
    testsupport::ScratchDirectory scratch;
    const DeviceOwner device = openDevice(writeImage(scratch, sheetWith("CDTEXTFILE \"gone.cdt\"\n", {})));
    readCdText(device.get(), CUEIFY_ERR_INTERNAL);
    EXPECT_STREQ(cueify_get_last_error(), "cannot open 'gone.cdt': no such file");
}

} // namespace
} // namespace cueify::test
