#include "TimeText.h"
#include "UserError.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

std::string parsed(const std::string& text)
{
    try {
        return std::to_string(parseTime(text));
    } catch (const UserError& error) {
        return error.what();
    }
}

TEST(TimeText, ParsesSecondsAndMinutesExactlyAndNamesAnythingElse)
{
    const std::pair<const char*, Vantor::avTime> valid[] = {
        {"0", 0},           {"90", 90000000},      {"12.5", 12500000},    {"0.000001", 1},
        {"1:30", 90000000}, {"0:04.250", 4250000}, {"74:00", 4440000000}, {"2:05.5", 125500000}};
    for (const auto& [text, microseconds] : valid)
        EXPECT_EQ(parsed(text), std::to_string(microseconds)) << text;
    for (const std::string text :
         {"", "-1", "1:60", "1:5", "1:05:00", "12.", ".5", "1.0000001", "abc", "1:3x", "1e3"})
        EXPECT_EQ(parsed(text),
                  "bad time \"" + text + "\": use seconds (90, 12.5) or m:ss(.fff) (1:30, 0:04.250)");
}

} // namespace
} // namespace vantorcd
