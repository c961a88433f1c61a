#include "ProgressBar.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

TEST(ProgressBar, ShowsPercentSpeedAndTimeLeft)
{
    EXPECT_EQ(renderProgress({0, 0, -1}), "  0% [------------------------]    0.0x  --:-- left");
    EXPECT_EQ(renderProgress({0.5, 12.34, 65}), " 50% [############------------]   12.3x  1:05 left");
    EXPECT_EQ(renderProgress({1, 40, 0}), "100% [########################]   40.0x  0:00 left");
    EXPECT_EQ(renderProgress({1.7, 1, 0}), "100% [########################]    1.0x  0:00 left");
}

} // namespace
} // namespace vantorcd
