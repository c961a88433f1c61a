#include "TrackFileName.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

struct NameCase
{
    unsigned number;
    std::string title;
    std::string expected;
};

TEST(TrackFileName, IsTheNumberAndTheTitleMadeSafeForFileSystems)
{
    const NameCase cases[] = {
        {3, "", "03.flac"},
        {12, "Intro", "12 - Intro.flac"},
        {1, "AC/DC: \"Live\" <1991>?", "01 - AC_DC_ _Live_ _1991__.flac"},
        {2, "Tab\there|and*there\\", "02 - Tab_here_and_there_.flac"},
        {4, "...hidden. ", "04 - hidden.flac"},
        {5, " . ", "05.flac"},
        {6, "Grüße", "06 - Grüße.flac"},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(trackFileName(c.number, c.title, "flac"), c.expected) << c.title;
}

TEST(TrackFileName, ALongTitleIsCutBetweenCharacters)
{
    // 'é' takes two bytes: the cut at 200 bytes would fall inside the hundredth and first.
    std::string title = "a";
    for (int i = 0; i < 150; ++i)
        title += "é";
    const std::string name = trackFileName(1, title, "wav");
    EXPECT_EQ(name, "01 - " + title.substr(0, 199) + ".wav");
}

} // namespace
} // namespace vantorcd
