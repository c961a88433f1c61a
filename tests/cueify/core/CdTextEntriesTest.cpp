// A track's text of a single TAB stands for the text of the track before it.
#include "cueify_testing/CdTextTesting.h"

#include "core/CdTextBlock.h"

#include <gtest/gtest.h>

namespace cueify::test {
namespace {

struct TabCase
{
    const char* name;
    uint8_t first, last;
    std::vector<std::optional<std::string>> entries; // the disc's, then the tracks'
    std::string expected;                            // per track from 0 to last + 1, "-" for none
};

std::string answers(const CdTextBlock& block)
{
    std::string text;
    for (unsigned track = 0; track <= block.lastTrack + 1u; ++track) {
        const std::string* found = block.text(CdTextKind::Performer, uint8_t(track));
        text += (found ? *found : "-") + " ";
    }
    return text;
}

TEST(CdTextEntries, TabsWalkBackToTheFirstOtherEntry)
{
    const std::vector<TabCase> cases = {
        {"FirstTrackTakesTheDiscs", 1, 3, {"D", "\t", "B", "\t"}, "D D B B - "},
        {"SeveralTabsInARow", 1, 3, {"D", "A", "\t", "\t"}, "D A A A - "},
        {"FirstTrackNotOne", 3, 4, {"D", "\t", "\t"}, "D - - D D - "},
        {"DiscTabHasNothingBefore", 1, 2, {"\t", "\t", "B"}, "- - B - "},
        {"MissingEntryStopsTheWalk", 1, 3, {"D", std::nullopt, "\t", "C"}, "D - - C - "},
        {"EmptyIsAnEntry", 1, 2, {"D", "", "\t"}, "D   - "},
        {"TabInsideTextIsText", 1, 1, {"D", "a\tb"}, "D a\tb - "},
    };
    for (const TabCase& c : cases) {
        CdTextBlock block;
        block.firstTrack = c.first;
        block.lastTrack = c.last;
        block.texts[static_cast<size_t>(CdTextKind::Performer)] = CdTextEntries(c.entries);
        EXPECT_EQ(answers(block), c.expected) << c.name;
    }
}

TEST(CdTextEntries, KindWithoutPacksHasNoText)
{
    CdTextBlock block;
    block.firstTrack = block.lastTrack = 1;
    EXPECT_EQ(answers(block), "- - - ");
}

} // namespace
} // namespace cueify::test
