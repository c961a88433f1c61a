// CD-Text written as packs: every entry in its place, the CRCs, the caller's buffer, the limits.
#include "cueify_testing/CdTextTesting.h"

#include "core/CdTextHandle.h"

#include <gtest/gtest.h>

namespace cueify::test {
namespace {

using Entries = std::vector<std::optional<std::string>>;

CdTextOwner withBlock(const CdTextBlock& block)
{
    CdTextOwner cdText(cueify_cdtext_new());
    cdTextOf(cdText.get())->blocks[0] = block;
    return cdText;
}

CdTextBlock titles(uint8_t first, uint8_t last, Entries entries)
{
    CdTextBlock block;
    block.firstTrack = first;
    block.lastTrack = last;
    block.texts[0] = CdTextEntries(std::move(entries));
    return block;
}

// The data bytes of the title packs, and each pack's track and character position.
struct TitlePacks
{
    std::string data;
    std::string trackAndPosition;
};

TitlePacks titlePacksOf(const std::vector<uint8_t>& packs)
{
    TitlePacks found;
    for (size_t at = 4; at + 18 <= packs.size(); at += 18) {
        if (packs[at] != 0x80)
            continue;
        found.data.append(packs.begin() + at + 4, packs.begin() + at + 16);
        found.trackAndPosition +=
            std::to_string(packs[at + 1]) + "/" + std::to_string(packs[at + 3] & 0x0F) + " ";
    }
    return found;
}

struct EntriesCase
{
    const char* name;
    uint8_t first, last;
    Entries entries;
    std::string data;
    std::string trackAndPosition;
};

TEST(CdTextWriter, EveryEntryOfTheBlockGetsExactlyOneTerminator)
{
    const std::string twenty = "ABCDEFGHIJKLMNOPQRST";
    const std::vector<EntriesCase> cases = {
        {"MissingBeforeAndBetween",
         1,
         4,
         {std::nullopt, std::nullopt, "B", std::nullopt, "D"},
         bytes("\0\0B\0\0D\0\0\0\0\0\0"),
         "0/0 "},
        {"FirstTextAfterTheBlocksFirstTrack",
         3,
         5,
         {"", std::nullopt, std::nullopt, "E"},
         bytes("\0\0\0E\0\0\0\0\0\0\0\0"),
         "0/0 "},
        {"TrailingMissing", 1, 3, {"Al", "\t"}, bytes("Al\0\t\0\0\0\0\0\0\0\0"), "0/0 "},
        {"AllEmpty", 1, 2, {"", "", ""}, "", ""},
        {"LongStringsAcrossPacks",
         1,
         2,
         {twenty + twenty, "x", "y"},
         twenty + twenty + bytes("\0x\0y\0\0\0\0"),
         "0/0 0/12 0/15 0/15 "},
        {"SecondStringStartsAPack",
         1,
         1,
         {"ABCDEFGHIJK", twenty},
         bytes("ABCDEFGHIJK\0") + twenty + bytes("\0\0\0\0"),
         "0/0 1/0 1/12 "},
    };
    for (const EntriesCase& c : cases) {
        const CdTextOwner cdText = withBlock(titles(c.first, c.last, c.entries));
        const TitlePacks found = titlePacksOf(serializedPacks(cdText.get()));
        EXPECT_EQ(found.data, c.data) << c.name;
        EXPECT_EQ(found.trackAndPosition, c.trackAndPosition) << c.name;
    }
}

TEST(CdTextWriter, EveryPackCarriesTheCrcOfItsFirstSixteenBytes)
{
    EXPECT_EQ(subchannelCrc(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xCE3C); // the check value
    CdTextBlock block =
        titles(1, 9, {"Disc", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"});
    block.discId = "X-1";
    block.genre = {7, std::string("Country")};
    const CdTextOwner cdText = withBlock(block);
    const std::vector<uint8_t> packs = serializedPacks(cdText.get());
    ASSERT_EQ((packs.size() - 4) % 18, 0u);
    ASSERT_GT(packs.size(), 4u + 5 * 18);
    for (size_t at = 4; at < packs.size(); at += 18) {
        const uint16_t crc = subchannelCrc(&packs[at], 16);
        EXPECT_EQ(packs[at + 16] << 8 | packs[at + 17], crc) << "pack at byte " << at;
    }
}

TEST(CdTextWriter, BufferSizeIsAskedForCheckedAndReported)
{
    const CdTextOwner cdText = withBlock(titles(1, 1, {"Disc", "One"}));
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
}

TEST(CdTextWriter, NoBlockIsAHeaderAlone)
{
    const CdTextOwner cdText(cueify_cdtext_new());
    EXPECT_EQ(serializedPacks(cdText.get()), (std::vector<uint8_t>{0x00, 0x02, 0x00, 0x00}));
}

TEST(CdTextWriter, BlockOfMoreThan256PacksIsInvalid)
{
    // 253 packs of text and three of size information, then one byte more.
    const std::string fits(253 * 12 - 2, 'x');
    const CdTextOwner fitting = withBlock(titles(1, 1, {fits, ""}));
    size_t size = 0;
    EXPECT_EQ(cueify_cdtext_serialize(fitting.get(), nullptr, &size), CUEIFY_OK);
    EXPECT_EQ(size, 4u + 256 * 18);
    const CdTextOwner tooLarge = withBlock(titles(1, 1, {fits + 'x', ""}));
    EXPECT_EQ(cueify_cdtext_serialize(tooLarge.get(), nullptr, &size), CUEIFY_ERR_INVALID_CDTEXT);
}

} // namespace
} // namespace cueify::test
