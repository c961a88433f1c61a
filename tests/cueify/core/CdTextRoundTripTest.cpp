// A disc's CD-Text in two blocks (twoBlockDisc): read through the getters, and written back to the
// very same bytes.
#include "cueify_testing/CdTextTesting.h"

#include <gtest/gtest.h>

namespace cueify::test {
namespace {

using TextGetter = const char* (*)(cueify_cdtext_block*, uint8_t);

struct TextCase
{
    uint8_t block;
    TextGetter getter;
    const char* name;
    uint8_t track;
    const char* expected; // null: no text
};

CdTextOwner readBack(const std::vector<uint8_t>& packs)
{
    CdTextOwner cdText(cueify_cdtext_new());
    EXPECT_EQ(cueify_cdtext_deserialize(cdText.get(), packs.data(), packs.size()), CUEIFY_OK);
    return cdText;
}

TEST(CdTextRoundTrip, TextsOfBothBlocksReadAsUtf8WithTabsResolved)
{
    const CdTextOwner cdText = readBack(twoBlockDisc());
    ASSERT_EQ(cueify_cdtext_get_num_blocks(cdText.get()), 2);
    const std::vector<TextCase> cases = {
        {0, cueify_cdtext_block_get_title, "title", 0, "Harbour Lights"},
        {0, cueify_cdtext_block_get_title, "title", 1, "Low Tide"},
        {0, cueify_cdtext_block_get_title, "title", 2, "Low Tide"},
        {0, cueify_cdtext_block_get_title, "title", 3, "Northern Pier"},
        {0, cueify_cdtext_block_get_title, "title", 4, nullptr},
        {0, cueify_cdtext_block_get_title, "title", CUEIFY_LEAD_OUT_TRACK, nullptr},
        {0, cueify_cdtext_block_get_performer, "performer", 1, "The Quay Ensemble"},
        {0, cueify_cdtext_block_get_performer, "performer", 2, "The Quay Ensemble"},
        {0, cueify_cdtext_block_get_performer, "performer", 3, "Ada Marsh"},
        {0, cueify_cdtext_block_get_songwriter, "songwriter", 0, ""},
        {0, cueify_cdtext_block_get_songwriter, "songwriter", 3, "J. Wren"},
        {0, cueify_cdtext_block_get_composer, "composer", 0, nullptr},
        {0, cueify_cdtext_block_get_message, "message", 0, "Recorded live"},
        {0, cueify_cdtext_block_get_message, "message", 2, ""},
        {0, cueify_cdtext_block_get_private, "private", 0, nullptr},
        {0, cueify_cdtext_block_get_upc_isrc, "upc_isrc", 0, "0012345678905"},
        {0, cueify_cdtext_block_get_upc_isrc, "upc_isrc", 3, "GBXYZ2600003"},
        {1, cueify_cdtext_block_get_title, "title", 0, "港の灯"},
        {1, cueify_cdtext_block_get_title, "title", 1, "夜の埠頭"},
        {1, cueify_cdtext_block_get_title, "title", 2, "夜の埠頭"},
        {1, cueify_cdtext_block_get_title, "title", 3, "A波"},
        {1, cueify_cdtext_block_get_performer, "performer", 0, "ｱﾝｻﾝﾌﾞﾙ"},
        {1, cueify_cdtext_block_get_performer, "performer", 1, "ｱﾝｻﾝﾌﾞﾙ"},
        {1, cueify_cdtext_block_get_performer, "performer", 2, ""},
        {1, cueify_cdtext_block_get_performer, "performer", 3, "①"},
        {1, cueify_cdtext_block_get_upc_isrc, "upc_isrc", 0, nullptr},
    };
    for (const TextCase& c : cases) {
        const char* text = c.getter(cueify_cdtext_get_block(cdText.get(), c.block), c.track);
        const std::string shown = text ? text : "(null)";
        EXPECT_EQ(shown, c.expected ? c.expected : "(null)")
            << "block " << int(c.block) << ", " << c.name << " of track " << int(c.track);
    }
}

TEST(CdTextRoundTrip, BlockFieldsGenreDiscIdAndTocReadBack)
{
    const CdTextOwner cdText = readBack(twoBlockDisc());
    cueify_cdtext_block* english = cueify_cdtext_get_block(cdText.get(), 0);
    cueify_cdtext_block* japanese = cueify_cdtext_get_block(cdText.get(), 1);
    EXPECT_EQ(cueify_cdtext_get_block(cdText.get(), 2), nullptr);
    EXPECT_EQ(cueify_cdtext_block_get_charset(english), CUEIFY_CDTEXT_CHARSET_ASCII);
    EXPECT_EQ(cueify_cdtext_block_get_language(english), CUEIFY_CDTEXT_LANG_ENGLISH);
    EXPECT_EQ(cueify_cdtext_block_get_charset(japanese), CUEIFY_CDTEXT_CHARSET_MSJIS);
    EXPECT_EQ(cueify_cdtext_block_get_language(japanese), CUEIFY_CDTEXT_LANG_JAPANESE);
    EXPECT_EQ(cueify_cdtext_block_get_first_track(japanese), 1);
    EXPECT_EQ(cueify_cdtext_block_get_last_track(japanese), 3);
    EXPECT_EQ(cueify_cdtext_block_has_title_copyright(english), 1);
    EXPECT_EQ(cueify_cdtext_block_has_name_copyright(english), 0);
    EXPECT_EQ(cueify_cdtext_block_has_title_copyright(japanese), 0);
    EXPECT_STREQ(cueify_cdtext_block_get_discid(english), "HL-0042");
    EXPECT_EQ(cueify_cdtext_block_get_discid(japanese), nullptr);
    EXPECT_EQ(cueify_cdtext_block_get_genre_code(english), 14);
    EXPECT_STREQ(cueify_cdtext_block_get_genre_name(english), "Harbour jazz");

    EXPECT_EQ(cueify_cdtext_get_toc_first_track(cdText.get()), 1);
    EXPECT_EQ(cueify_cdtext_get_toc_last_track(cdText.get()), 3);
    const auto msf = [](cueify_msf_t m) {
        return std::to_string(m.min) + ":" + std::to_string(m.sec) + ":" + std::to_string(m.frm);
    };
    EXPECT_EQ(msf(cueify_cdtext_get_toc_track_offset(cdText.get(), 3)), "6:40:5");
    EXPECT_EQ(msf(cueify_cdtext_get_toc_track_offset(cdText.get(), CUEIFY_LEAD_OUT_TRACK)), "10:0:0");
    EXPECT_EQ(msf(cueify_cdtext_get_toc_track_offset(cdText.get(), 0)), "0:0:0");
    EXPECT_EQ(cueify_cdtext_get_toc_num_track_intervals(cdText.get(), 2), 2);
    EXPECT_EQ(cueify_cdtext_get_toc_num_track_intervals(cdText.get(), 1), 0);
    EXPECT_EQ(msf(cueify_cdtext_get_toc_track_interval_start(cdText.get(), 2, 1)), "3:10:20");
    EXPECT_EQ(msf(cueify_cdtext_get_toc_track_interval_end(cdText.get(), 2, 2)), "6:40:5");
    EXPECT_EQ(msf(cueify_cdtext_get_toc_track_interval_start(cdText.get(), 2, 0)), "0:0:0");
    EXPECT_EQ(msf(cueify_cdtext_get_toc_track_interval_end(cdText.get(), 2, 3)), "0:0:0");
}

TEST(CdTextRoundTrip, SerializesBackByteForByte)
{
    const std::vector<uint8_t> packs = twoBlockDisc();
    EXPECT_EQ(serializedPacks(readBack(packs).get()), packs);
}

} // namespace
} // namespace cueify::test
