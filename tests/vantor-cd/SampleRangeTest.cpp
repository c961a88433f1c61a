#include "SampleRange.h"
#include "UserError.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

constexpr uint32_t kTrackSectors = 190; // 111,720 samples, 2.533 s

struct RangeCase
{
    std::optional<Vantor::avTime> from;
    std::optional<Vantor::avTime> to;
    uint64_t begin;
    uint64_t end;
};

TEST(SampleRange, CutsAtTheNearestSample)
{
    const RangeCase cases[] = {
        {std::nullopt, std::nullopt, 0, 111720},
        {500000, 1250000, 22050, 55125},
        {1001000, std::nullopt, 44144, 111720}, // 44,144.1 samples
        {std::nullopt, 10000, 0, 441},
        {2000000, 9000000, 88200, 111720}, // a stop past the end stops at the end
        {11, 34, 0, 1},                    // 0.49 and 1.5 samples
    };
    for (const RangeCase& c : cases) {
        const SampleRange range = sampleRangeOf(c.from, c.to, kTrackSectors);
        EXPECT_EQ(range.begin, c.begin);
        EXPECT_EQ(range.end, c.end);
        EXPECT_EQ(range.byteCount(), (c.end - c.begin) * 4);
    }
}

TEST(SampleRange, RejectsAStartPastTheEndAndAnEmptyRange)
{
    const auto messageOf = [](std::optional<Vantor::avTime> from, std::optional<Vantor::avTime> to) {
        try {
            sampleRangeOf(from, to, kTrackSectors);
        } catch (const UserError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf(3000000, std::nullopt), "--from 0:03.000 is past the end of the track (0:02.533)");
    EXPECT_EQ(messageOf(2533333, std::nullopt), "--from 0:02.533 is past the end of the track (0:02.533)");
    EXPECT_EQ(messageOf(2000000, 1500000), "--to 0:01.500 is not after --from 0:02.000");
    EXPECT_EQ(messageOf(1000000, 1000000), "--to 0:01.000 is not after --from 0:01.000");
}

} // namespace
} // namespace vantorcd
