#include "TimeText.h"
#include "UserError.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

struct TimeCase
{
    const char* text;
    Vantor::avTime microseconds;
};

TEST(TimeText, ParsesSecondsAndMinutesExactly)
{
    const TimeCase cases[] = {
        {"0", 0},           {"90", 90000000},      {"12.5", 12500000},    {"0.000001", 1},
        {"1:30", 90000000}, {"0:04.250", 4250000}, {"74:00", 4440000000}, {"2:05.5", 125500000},
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(parseTime(c.text), c.microseconds) << c.text;
}

TEST(TimeText, RejectsAnythingElseNamingTheText)
{
    for (const char* text :
         {"", "-1", "1:60", "1:5", "1:05:00", "12.", ".5", "1.0000001", "abc", "1:3x", "1e3"}) {
        try {
            parseTime(text);
            ADD_FAILURE() << text;
        } catch (const UserError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("bad time \"") + text +
                          "\": use seconds (90, 12.5) or m:ss(.fff) (1:30, 0:04.250)");
        }
    }
}

TEST(TimeText, FormatsWholeSecondsAsMinutesAndSeconds)
{
    EXPECT_EQ(formatDuration(0), "0:00");
    EXPECT_EQ(formatDuration(4999999), "0:04");
    EXPECT_EQ(formatDuration(205000000), "3:25");
    EXPECT_EQ(formatDuration(4440000000), "74:00");
}

} // namespace
} // namespace vantorcd
