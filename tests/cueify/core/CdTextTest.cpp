// The CD-Text object model: character sets, packs built byte by byte as drives hand them over
// (well-formed or not, their TAB entries resolved), and the packs it writes.
#include "cueify_testing/CdTextTesting.h"

#include "core/CdTextCharset.h"
#include "core/CdTextHandle.h"

#include <gtest/gtest.h>

namespace cueify::test {
namespace {

constexpr uint8_t kIso = CUEIFY_CDTEXT_CHARSET_ISO8859_1;
constexpr uint8_t kAscii = CUEIFY_CDTEXT_CHARSET_ASCII;
constexpr uint8_t kMsJis = CUEIFY_CDTEXT_CHARSET_MSJIS;

// Each row maps its bytes to its UTF-8 text and its text to its bytes, or only the text to its
// bytes. ISO 8859-1 is mapped in ImageCdTextTest, the MS-JIS of the two-block disc where it is read.
TEST(CdTextCharset, TextMapsBothWaysWhatASetCannotHoldBecomesAQuestionMarkAndUnreadableBytesAReplacement)
{
    const struct
    {
        uint8_t charset;
        std::string bytes;
        std::string utf8;
        bool bothWays = true;
    } cases[] = {
        {kMsJis, "\x00\x41\x00\x5c\x00\x7e"s, "A¥‾"},
        {kMsJis, "\x00\xb1\x00\xdf"s, "ｱﾟ"},
        {kMsJis, "\x81\x5f\x81\x60", "＼〜"},
        {kAscii, "Caf?", "Café", false},
        {kIso, "?", "\xff", false}, // not UTF-8 at all
        {kMsJis, "\x00\x3f"s, "한", false},
        {kMsJis, "\x00\x3f"s, "\0"s, false},        // 00 00 would end the string
        {kMsJis, "\x81\x5f\x81\x60", "\\~", false}, // the single bytes stand for ¥ and ‾
        // Korean and Chinese (below) are not converted at all.
        {CUEIFY_CDTEXT_CHARSET_KOREAN, "", "가", false},
    };
    for (const auto& c : cases) {
        if (c.bothWays)
            EXPECT_EQ(textToUtf8(c.bytes, c.charset), c.utf8) << c.utf8;
        EXPECT_EQ(utf8ToText(c.utf8, c.charset), c.bytes) << c.utf8;
    }
    EXPECT_EQ(textToUtf8("\xb0\xa1", CUEIFY_CDTEXT_CHARSET_CHINESE), "");
    // Unmapped, not JIS X 0201, a lead byte without its trail (which would read as two characters,
    // the second a NUL), and a trailing odd byte.
    EXPECT_EQ(textToUtf8("\x82\xa0\xfc\xfc\x00\x80\x80\x00\x82"s, kMsJis), "あ\uFFFD\uFFFD\uFFFD");
}

// Entries written "D|-|\t": the disc's, then the tracks', "-" for a missing one.
CdTextEntries entriesOf(const std::string& text)
{
    std::vector<std::optional<std::string>> entries;
    for (size_t from = 0, bar = 0; bar != std::string::npos; from = bar + 1) {
        bar = text.find('|', from);
        const std::string entry = text.substr(from, bar - from);
        entries.push_back(entry == "-" ? std::nullopt : std::optional(entry));
    }
    return CdTextEntries(entries);
}

// The result of reading the packs into an object that held one block before, then its blocks and
// the CD-Text copy of the TOC: first and last track, the starts of tracks 0, 1, 3 and the lead-out,
// then per track 1 and 2 its intervals' count, then start and end of intervals 0 to 3.
std::string readBack(const std::vector<uint8_t>& packs)
{
    const CdTextOwner cdText(cueify_cdtext_new());
    const std::vector<uint8_t> before = twoBlockDisc();
    EXPECT_EQ(cueify_cdtext_deserialize(cdText.get(), before.data(), before.size()), CUEIFY_OK);
    cueify_cdtext* t = cdText.get();
    std::string text =
        "result " + std::to_string(cueify_cdtext_deserialize(t, packs.data(), packs.size())) + "\n";
    for (uint8_t b = 0; b <= cueify_cdtext_get_num_blocks(t); ++b)
        text += describeBlock(cueify_cdtext_get_block(t, b));
    const auto msf = [](cueify_msf_t m) {
        return " " + std::to_string(m.min) + ":" + std::to_string(m.sec) + ":" + std::to_string(m.frm);
    };
    text += "toc " + std::to_string(cueify_cdtext_get_toc_first_track(t)) + "-" +
            std::to_string(cueify_cdtext_get_toc_last_track(t));
    for (const uint8_t track : {0, 1, 3, CUEIFY_LEAD_OUT_TRACK})
        text += msf(cueify_cdtext_get_toc_track_offset(t, track));
    for (const uint8_t track : {1, 2}) {
        text += " | " + std::to_string(cueify_cdtext_get_toc_num_track_intervals(t, track)) + ":";
        for (uint8_t k = 0; k <= 3; ++k)
            text += msf(cueify_cdtext_get_toc_track_interval_start(t, track, k)) +
                    msf(cueify_cdtext_get_toc_track_interval_end(t, track, k));
    }
    return text + "\n";
}

TEST(CdTextReader, TwoBlocksAndTheTocReadAsUtf8WithTabsResolvedAndWriteBackByteForByte)
{
    const std::vector<uint8_t> packs = twoBlockDisc();
    EXPECT_EQ(readBack(packs),
              "result 0\n"
              "charset 1, language 9, tracks 1-3, flags 00001, id HL-0042, genre 14 Harbour jazz\n"
              "title: Harbour Lights|Low Tide|Low Tide|Northern Pier|-\n"
              "performer: The Quay Ensemble|The Quay Ensemble|The Quay Ensemble|Ada Marsh|-\n"
              "songwriter: |||J. Wren|-\n"
              "message: Recorded live||||-\n"
              "upc_isrc: 0012345678905|GBXYZ2600001|GBXYZ2600002|GBXYZ2600003|-\n"
              "charset 128, language 105, tracks 1-3, flags 00000, id -, genre 0 -\n"
              "title: 港の灯|夜の埠頭|夜の埠頭|A波|-\n"
              "performer: ｱﾝｻﾝﾌﾞﾙ|ｱﾝｻﾝﾌﾞﾙ||①|-\n"
              "no block\n"
              "toc 1-3 0:0:0 0:2:0 6:40:5 10:0:0 | 0: 0:0:0 0:0:0 0:0:0 0:0:0 0:0:0 0:0:0 0:0:0 0:0:0"
              " | 2: 0:0:0 0:0:0 3:10:20 4:0:0 5:0:0 6:40:5 0:0:0 0:0:0\n");
    // The packs' CRCs are those of the builder, whose CRC gives the check value of its kind.
    EXPECT_EQ(subchannelCrc(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xCE3C);
    const CdTextOwner cdText(cueify_cdtext_new());
    ASSERT_EQ(cueify_cdtext_deserialize(cdText.get(), packs.data(), packs.size()), CUEIFY_OK);
    EXPECT_EQ(serializedPacks(cdText.get()), packs);
    EXPECT_EQ(cueify_cdtext_block_get_title(cueify_cdtext_get_block(cdText.get(), 0), CUEIFY_LEAD_OUT_TRACK),
              nullptr);
}

// One block of tracks 1 to 2 with titles, and whatever packs the case adds before its size
// information.
std::vector<uint8_t> oneBlock(const std::vector<RawPack>& extra = {}, uint8_t charset = kIso,
                              uint8_t first = 1, uint8_t last = 2)
{
    PackBuilder packs;
    packs.block(0, charset, first, last, 0, CUEIFY_CDTEXT_LANG_ENGLISH);
    for (const RawPack& pack : extra)
        packs.add(pack);
    packs.text(0x80, {"Disc\0"s, "One\0"s, "Two\0"s});
    return packs.finish();
}

std::vector<uint8_t> withLength(std::vector<uint8_t> data, size_t length)
{
    data[0] = uint8_t(length >> 8);
    data[1] = uint8_t(length);
    return data;
}

TEST(CdTextReader, SizesAndContradictionsGiveTheirCodesAndLeaveTheObjectAsItWas)
{
    const std::vector<uint8_t> good = oneBlock();
    const std::string unchanged = readBack(twoBlockDisc()).substr(std::string("result 0\n").size());
    const struct
    {
        const char* name;
        std::vector<uint8_t> data;
        int expected;
    } cases[] = {
        {"ShorterThanAHeader", {0x00, 0x02, 0x00}, CUEIFY_ERR_TRUNCATED},
        {"LengthPastTheData", withLength(good, good.size() - 1), CUEIFY_ERR_TRUNCATED},
        {"PartOfAPack", std::vector<uint8_t>(good.begin(), good.end() - 1), CUEIFY_ERR_TRUNCATED},
        {"LengthNotWholePacks", withLength(good, good.size() - 3), CUEIFY_ERR_CORRUPTED},
        {"LengthBelowTheHeader", {0x00, 0x01, 0x00, 0x00}, CUEIFY_ERR_CORRUPTED},
        {"IntervalNumberZero", oneBlock({{0x89, 1, 0, false, {0, 2}}}), CUEIFY_ERR_CORRUPTED},
        {"IntervalPastItsCount", oneBlock({{0x89, 1, 0, false, {3, 2}}}), CUEIFY_ERR_CORRUPTED},
        {"IntervalOfTrackZero", oneBlock({{0x89, 0, 0, false, {1, 1}}}), CUEIFY_ERR_CORRUPTED},
        {"IntervalCountsDisagree", oneBlock({{0x89, 1, 0, false, {1, 2}}, {0x89, 1, 0, false, {2, 3}}}),
         CUEIFY_ERR_CORRUPTED},
        {"TocLastBeforeFirst", oneBlock({{0x88, 0, 0, false, {5, 4}}}), CUEIFY_ERR_CORRUPTED},
        {"BlockLastBeforeFirst", oneBlock({}, kIso, 3, 2), CUEIFY_ERR_CORRUPTED},
        {"BlockPastTrack99", oneBlock({}, kIso, 1, 100), CUEIFY_ERR_CORRUPTED},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readBack(c.data), "result " + std::to_string(c.expected) + "\n" + unchanged) << c.name;
    // A TOC of a single track is no contradiction.
    EXPECT_EQ(readBack(oneBlock({{0x88, 0, 0, false, {1, 1, 0, 4, 0, 0}}})).substr(0, 9), "result 0\n");
    EXPECT_EQ(cueify_cdtext_deserialize(nullptr, good.data(), good.size()), CUEIFY_ERR_BADARG);
    const CdTextOwner cdText(cueify_cdtext_new());
    EXPECT_EQ(cueify_cdtext_deserialize(cdText.get(), nullptr, good.size()), CUEIFY_ERR_BADARG);
    cueify_cdtext_free(nullptr);
}

TEST(CdTextReader, WhatIsKeptOfPacksThatAreOddButReadable)
{
    const std::vector<uint8_t> good = oneBlock();
    std::vector<uint8_t> trailing = good;
    trailing.insert(trailing.end(), 5, 0xEE);
    // Without the third size-information pack.
    const std::vector<uint8_t> cut = withLength({good.begin(), good.end() - 18}, good.size() - 20);
    PackBuilder unterminated, numbered;
    unterminated.block(0, kIso, 3, 6, 0, 0);
    // The last string has no terminator and the pack ends right after it; tracks 1 and 2 lie
    // before the block.
    unterminated.text(0x80, {"Disc\0"s, "One\0"s, "Tw"});
    for (const uint8_t number : {2, 5}) {
        numbered.block(number, kIso, 1, 1, 0, uint8_t(number + 1));
        numbered.text(0x80, {"Block " + std::to_string(number) + '\0', "\0"s});
    }
    const std::string oneTitled = "charset 0, language 9, tracks 1-2, flags 00000, id -, genre 0 -\n"
                                  "title: Disc|One|Two|-\nno block\n";
    const struct
    {
        const char* name;
        std::vector<uint8_t> packs;
        std::string expected;
    } cases[] = {
        {"HeaderOnly", {0x00, 0x02, 0x00, 0x00}, "no block\n"},
        {"BytesPastTheLength", trailing, oneTitled},
        {"BlockWithoutItsWholeSizeInformation", cut, "no block\n"},
        {"ExtensionAndUnknownPacks",
         // An extension pack has the top bit of its track number set.
         oneBlock({{0x80, 0x80, 0, false, {'X', 0, 'X', 0, 'X', 0}},
                   {0x70, 0, 0, false, {'Y', 0, 'Y', 0}},
                   {0x8A, 0, 0, false, {'Z', 0, 'Z', 0}}}),
         oneTitled},
        {"TextEndingBeforeItsTracks", unterminated.finish(),
         "charset 0, language 0, tracks 3-6, flags 00000, id -, genre 0 -\ntitle: Disc|-|-|One|Tw|-|-|-\nno "
         "block\n"},
        {"KoreanKeepsItsFieldsWithoutText", oneBlock({}, CUEIFY_CDTEXT_CHARSET_KOREAN),
         "charset 129, language 9, tracks 1-2, flags 00000, id -, genre 0 -\nno block\n"},
        {"ChineseKeepsItsFieldsWithoutText", oneBlock({}, CUEIFY_CDTEXT_CHARSET_CHINESE),
         "charset 130, language 9, tracks 1-2, flags 00000, id -, genre 0 -\nno block\n"},
        {"BlocksCountInTheirNumbersOrder", numbered.finish(),
         "charset 0, language 3, tracks 1-1, flags 00000, id -, genre 0 -\ntitle: Block 2||-\n"
         "charset 0, language 6, tracks 1-1, flags 00000, id -, genre 0 -\ntitle: Block 5||-\nno block\n"},
    };
    std::string noToc = "toc 0-0";
    for (int n = 0; n < 20; ++n)
        noToc += (n == 4 || n == 12 ? " | 0: 0:0:0" : " 0:0:0");
    noToc += "\n";
    for (const auto& c : cases)
        EXPECT_EQ(readBack(c.packs), "result 0\n" + c.expected + noToc) << c.name;
}

CdTextOwner withTitles(uint8_t first, uint8_t last, const std::string& entries)
{
    CdTextOwner cdText(cueify_cdtext_new());
    CdTextBlock& block = cdTextOf(cdText.get())->blocks[0].emplace();
    block.firstTrack = first;
    block.lastTrack = last;
    block.texts[0] = entriesOf(entries);
    return cdText;
}

// The packs are those the format gives a block of these titles, whose every entry, a missing one
// too, ends with exactly one terminator.
TEST(CdTextWriter, EveryEntryOfTheBlockIsWrittenWithExactlyOneTerminator)
{
    const std::string twenty = "ABCDEFGHIJKLMNOPQRST";
    const struct
    {
        uint8_t first, last;
        std::string entries;
        std::vector<std::string> strings; // of the title packs, for the disc and each track
    } cases[] = {
        {1, 4, "-|-|B|-|D", {"\0"s, "\0"s, "B\0"s, "\0"s, "D\0"s}}, // missing before and between
        {3, 5, "|-|-|E", {"\0"s, "\0"s, "\0"s, "E\0"s}},            // first text after the first track
        {1, 3, "Al|\t", {"Al\0"s, "\t\0"s, "\0"s, "\0"s}},          // trailing missing
        {1, 2, "||", {}},                                           // all empty
        {1, 2, twenty + twenty + "|x|y", {twenty + twenty + '\0', "x\0"s, "y\0"s}},
        {1, 1, "ABCDEFGHIJK|" + twenty, {"ABCDEFGHIJK\0"s, twenty + '\0'}},
    };
    for (const auto& c : cases) {
        PackBuilder expected;
        expected.block(0, kIso, c.first, c.last, 0, 0);
        if (!c.strings.empty())
            expected.text(0x80, c.strings);
        EXPECT_EQ(serializedPacks(withTitles(c.first, c.last, c.entries).get()), expected.finish())
            << c.entries;
    }
}

// A block holds at most 256 packs: 253 of text and three of size information.
TEST(CdTextWriter, BufferSizeIsAskedForCheckedAndReportedAndABlockOfMoreThan256PacksIsInvalid)
{
    const CdTextOwner cdText = withTitles(1, 1, "Disc|One");
    size_t needed = 0;
    ASSERT_EQ(cueify_cdtext_serialize(cdText.get(), nullptr, &needed), CUEIFY_OK);
    EXPECT_EQ(needed, 4u + 4 * 18); // one title pack and three of size information
    std::vector<uint8_t> buffer(needed, 0xEE);
    size_t size = needed - 1;
    EXPECT_EQ(cueify_cdtext_serialize(cdText.get(), buffer.data(), &size), CUEIFY_ERR_TOOSMALL);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(buffer, std::vector<uint8_t>(needed, 0xEE));
    size = needed + 10;
    EXPECT_EQ(cueify_cdtext_serialize(cdText.get(), buffer.data(), &size), CUEIFY_OK);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(cueify_cdtext_serialize(nullptr, buffer.data(), &size), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_cdtext_serialize(cdText.get(), buffer.data(), nullptr), CUEIFY_ERR_BADARG);
    const CdTextOwner empty(cueify_cdtext_new());
    EXPECT_EQ(serializedPacks(empty.get()), (std::vector<uint8_t>{0x00, 0x02, 0x00, 0x00}));
    const std::string fits(253 * 12 - 2, 'x');
    EXPECT_EQ(serializedPacks(withTitles(1, 1, fits + "|").get()).size(), 4u + 256 * 18);
    EXPECT_EQ(cueify_cdtext_serialize(withTitles(1, 1, fits + "x|").get(), nullptr, &size),
              CUEIFY_ERR_INVALID_CDTEXT);
}

} // namespace
} // namespace cueify::test
