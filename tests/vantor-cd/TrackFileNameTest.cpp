#include "TrackFileName.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vantorcd {
namespace {

TEST(TrackFileName, IsTheNumberAndTheTitleMadeSafeForFileSystemsAndCutBetweenCharacters)
{
    // 'é' takes two bytes: the cut at 200 bytes would fall inside the hundredth and first.
    std::string longTitle = "a";
    for (int i = 0; i < 150; ++i)
        longTitle += "é";
    const std::tuple<unsigned, std::string, std::string> cases[] = {
        {3, "", "03.flac"},
        {12, "Intro", "12 - Intro.flac"},
        {1, "AC/DC: \"Live\" <1991>?", "01 - AC_DC_ _Live_ _1991__.flac"},
        {2, "Tab\there|and*there\\", "02 - Tab_here_and_there_.flac"},
        {4, "...hidden. ", "04 - hidden.flac"},
        {5, " . ", "05.flac"},
        {6, "Grüße", "06 - Grüße.flac"},
        {1, longTitle, "01 - " + longTitle.substr(0, 199) + ".flac"},
    };
    for (const auto& [number, title, expected] : cases)
        EXPECT_EQ(trackFileName(number, title, "flac"), expected) << title;
}

} // namespace
} // namespace vantorcd
