// CD-Text packs as drives hand them over, well-formed or not: the codes, and what is kept.
#include "cueify_testing/CdTextTesting.h"

#include <gtest/gtest.h>

namespace cueify::test {
namespace {

constexpr uint8_t kIso = CUEIFY_CDTEXT_CHARSET_ISO8859_1;

// One block of tracks 1 to 2 with titles, and whatever packs the case adds before its size
// information.
std::vector<uint8_t> oneBlock(const std::vector<RawPack>& extra = {}, uint8_t charset = kIso,
                              uint8_t first = 1, uint8_t last = 2)
{
    PackBuilder packs;
    packs.block(0, charset, first, last, 0, CUEIFY_CDTEXT_LANG_ENGLISH);
    packs.text(0x80, 0, {{0, bytes("Disc\0")}, {1, bytes("One\0")}, {2, bytes("Two\0")}});
    for (const RawPack& pack : extra)
        packs.add(pack);
    return packs.finish();
}

std::vector<uint8_t> withLength(std::vector<uint8_t> data, size_t length)
{
    data[0] = uint8_t(length >> 8);
    data[1] = uint8_t(length);
    return data;
}

struct ErrorCase
{
    const char* name;
    std::vector<uint8_t> data;
    int expected;
    int blocks; // after the call; the object held one block before it
};

TEST(CdTextReader, SizesAndContradictionsGiveTheirCodesAndLeaveTheObjectAsItWas)
{
    const std::vector<uint8_t> good = oneBlock();
    std::vector<uint8_t> withTrailingBytes = good;
    withTrailingBytes.insert(withTrailingBytes.end(), 5, 0xEE);
    const std::vector<ErrorCase> cases = {
        {"ShorterThanAHeader", {0x00, 0x02, 0x00}, CUEIFY_ERR_TRUNCATED, 1},
        {"LengthPastTheData", withLength(good, good.size() - 1), CUEIFY_ERR_TRUNCATED, 1},
        {"PartOfAPack", std::vector<uint8_t>(good.begin(), good.end() - 1), CUEIFY_ERR_TRUNCATED, 1},
        {"LengthNotWholePacks", withLength(good, good.size() - 3), CUEIFY_ERR_CORRUPTED, 1},
        {"LengthBelowTheHeader", {0x00, 0x01, 0x00, 0x00}, CUEIFY_ERR_CORRUPTED, 1},
        {"HeaderOnly", {0x00, 0x02, 0x00, 0x00}, CUEIFY_OK, 0},
        {"BytesPastTheLength", withTrailingBytes, CUEIFY_OK, 1},
        {"IntervalNumberZero", oneBlock({{0x89, 1, 0, 0, false, {0, 2}}}), CUEIFY_ERR_CORRUPTED, 1},
        {"IntervalPastItsCount", oneBlock({{0x89, 1, 0, 0, false, {3, 2}}}), CUEIFY_ERR_CORRUPTED, 1},
        {"IntervalOfTrackZero", oneBlock({{0x89, 0, 0, 0, false, {1, 1}}}), CUEIFY_ERR_CORRUPTED, 1},
        {"IntervalCountsDisagree", oneBlock({{0x89, 1, 0, 0, false, {1, 2}}, {0x89, 1, 0, 0, false, {2, 3}}}),
         CUEIFY_ERR_CORRUPTED, 1},
        {"TocLastBeforeFirst", oneBlock({{0x88, 0, 0, 0, false, {5, 4}}}), CUEIFY_ERR_CORRUPTED, 1},
        {"BlockLastBeforeFirst", oneBlock({}, kIso, 3, 2), CUEIFY_ERR_CORRUPTED, 1},
        {"BlockPastTrack99", oneBlock({}, kIso, 1, 100), CUEIFY_ERR_CORRUPTED, 1},
    };
    for (const ErrorCase& c : cases) {
        const CdTextOwner cdText(cueify_cdtext_new());
        ASSERT_EQ(cueify_cdtext_deserialize(cdText.get(), good.data(), good.size()), CUEIFY_OK);
        EXPECT_EQ(cueify_cdtext_deserialize(cdText.get(), c.data.data(), c.data.size()), c.expected)
            << c.name;
        EXPECT_EQ(cueify_cdtext_get_num_blocks(cdText.get()), c.blocks) << c.name;
    }
}

TEST(CdTextReader, NullArgumentsAreRefused)
{
    const std::vector<uint8_t> good = oneBlock();
    const CdTextOwner cdText(cueify_cdtext_new());
    EXPECT_EQ(cueify_cdtext_deserialize(nullptr, good.data(), good.size()), CUEIFY_ERR_BADARG);
    EXPECT_EQ(cueify_cdtext_deserialize(cdText.get(), nullptr, good.size()), CUEIFY_ERR_BADARG);
    cueify_cdtext_free(nullptr);
}

std::string titleOf(const std::vector<uint8_t>& data, uint8_t track, uint8_t block = 0)
{
    const CdTextOwner cdText(cueify_cdtext_new());
    EXPECT_EQ(cueify_cdtext_deserialize(cdText.get(), data.data(), data.size()), CUEIFY_OK);
    const char* title = cueify_cdtext_block_get_title(cueify_cdtext_get_block(cdText.get(), block), track);
    return title ? title : "(null)";
}

TEST(CdTextReader, ExtensionAndUnknownPacksAreSkipped)
{
    PackBuilder packs;
    packs.block(0, kIso, 1, 2, 0, 0);
    RawPack extension{0x80, 0, 0, 0, false, {'X', 0, 'X', 0, 'X', 0}};
    extension.extension = true;
    packs.add(extension);
    packs.add({0x70, 0, 0, 0, false, {'Y', 0, 'Y', 0, 'Y', 0}});
    packs.add({0x8A, 0, 0, 0, false, {'Z', 0, 'Z', 0, 'Z', 0}});
    packs.text(0x80, 0, {{0, bytes("Disc\0")}, {1, bytes("One\0")}, {2, bytes("Two\0")}});
    const std::vector<uint8_t> data = packs.finish();
    EXPECT_EQ(titleOf(data, 0), "Disc");
    EXPECT_EQ(titleOf(data, 2), "Two");
}

TEST(CdTextReader, TextEndingBeforeItsTracksLeavesTheRestWithout)
{
    PackBuilder packs;
    packs.block(0, kIso, 1, 4, 0, 0);
    // The last string has no terminator and the pack ends right after it.
    packs.text(0x80, 0, {{0, bytes("Disc\0")}, {1, bytes("One\0")}, {2, bytes("Tw")}});
    const std::vector<uint8_t> data = packs.finish();
    const std::vector<std::pair<uint8_t, std::string>> expected = {
        {0, "Disc"}, {1, "One"}, {2, "Tw"}, {3, "(null)"}, {4, "(null)"}};
    for (const auto& [track, title] : expected)
        EXPECT_EQ(titleOf(data, track), title) << int(track);
}

TEST(CdTextReader, BlockCountsOnlyWithItsWholeSizeInformation)
{
    std::vector<uint8_t> data = oneBlock();
    data.resize(data.size() - 18); // the third size-information pack
    data = withLength(data, data.size() - 2);
    const CdTextOwner cdText(cueify_cdtext_new());
    ASSERT_EQ(cueify_cdtext_deserialize(cdText.get(), data.data(), data.size()), CUEIFY_OK);
    EXPECT_EQ(cueify_cdtext_get_num_blocks(cdText.get()), 0);
}

TEST(CdTextReader, KoreanAndChineseBlocksKeepTheirFieldsWithoutText)
{
    for (const uint8_t charset : {CUEIFY_CDTEXT_CHARSET_KOREAN, CUEIFY_CDTEXT_CHARSET_CHINESE}) {
        const std::vector<uint8_t> data = oneBlock({}, charset);
        const CdTextOwner cdText(cueify_cdtext_new());
        ASSERT_EQ(cueify_cdtext_deserialize(cdText.get(), data.data(), data.size()), CUEIFY_OK);
        cueify_cdtext_block* block = cueify_cdtext_get_block(cdText.get(), 0);
        EXPECT_EQ(cueify_cdtext_block_get_charset(block), charset);
        EXPECT_EQ(cueify_cdtext_block_get_title(block, 1), nullptr);
    }
}

TEST(CdTextReader, BlocksAreCountedInTheirNumbersOrder)
{
    PackBuilder packs;
    for (const uint8_t number : {2, 5}) {
        packs.block(number, kIso, 1, 1, 0, uint8_t(number + 1));
        packs.text(0x80, number, {{0, "Block " + std::to_string(number) + '\0'}, {1, bytes("\0")}});
    }
    const std::vector<uint8_t> data = packs.finish();
    const CdTextOwner cdText(cueify_cdtext_new());
    ASSERT_EQ(cueify_cdtext_deserialize(cdText.get(), data.data(), data.size()), CUEIFY_OK);
    EXPECT_EQ(cueify_cdtext_get_num_blocks(cdText.get()), 2);
    EXPECT_STREQ(cueify_cdtext_block_get_title(cueify_cdtext_get_block(cdText.get(), 1), 0), "Block 5");
    EXPECT_EQ(cueify_cdtext_block_get_language(cueify_cdtext_get_block(cdText.get(), 1)), 6);
    EXPECT_EQ(cueify_cdtext_get_block(cdText.get(), 2), nullptr);
}

} // namespace
} // namespace cueify::test
