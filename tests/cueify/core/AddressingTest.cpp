#include "core/Addressing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

namespace cueify {
namespace {

struct MsfCase
{
    uint32_t frames;
    uint8_t min, sec, frm;
};

void PrintTo(const MsfCase& c, std::ostream* os)
{
    *os << c.frames;
}

class FramesToMsf : public ::testing::TestWithParam<MsfCase>
{};

TEST_P(FramesToMsf, SplitsIntoMinutesSecondsAndFrames)
{
    const MsfCase& c = GetParam();
    const cueify_msf_t msf = toMsf(c.frames);
    EXPECT_EQ(std::make_tuple(msf.min, msf.sec, msf.frm), std::make_tuple(c.min, c.sec, c.frm));
}

INSTANTIATE_TEST_SUITE_P(Addressing, FramesToMsf,
                         ::testing::Values(MsfCase{0, 0, 0, 0}, MsfCase{74, 0, 0, 74}, MsfCase{75, 0, 1, 0},
                                           MsfCase{150, 0, 2, 0}, MsfCase{4499, 0, 59, 74},
                                           MsfCase{4500, 1, 0, 0}, MsfCase{335175, 74, 29, 0},
                                           MsfCase{1151999, 255, 59, 74},
                                           MsfCase{1152000, 255, 59, 74}, // saturates
                                           MsfCase{0xFFFFFFFFu, 255, 59, 74}));

TEST(Addressing, MsfRoundTripsThroughFrames)
{
    for (uint32_t frames : {0u, 1u, 150u, 4500u, 333000u, 449999u})
        EXPECT_EQ(framesOf(toMsf(frames)), frames);
}

TEST(Addressing, LogicalBlockZeroIsAtTwoSeconds)
{
    EXPECT_EQ(toAbsolute(Lba{0}).value, 150u);
    EXPECT_EQ(toAbsolute(Lba{333000}).value, 333150u);
    EXPECT_EQ(toLba(AbsoluteFrame{150}).value, 0u);
    EXPECT_EQ(toLba(AbsoluteFrame{1000}).value, 850u);
}

TEST(Addressing, AddressesInsideTheFirstPregapHaveBlockZero)
{
    EXPECT_EQ(toLba(AbsoluteFrame{0}).value, 0u);
    EXPECT_EQ(toLba(AbsoluteFrame{149}).value, 0u);
}

TEST(Addressing, DistanceBackwardsIsZero)
{
    EXPECT_EQ(distance(AbsoluteFrame{150}, AbsoluteFrame{450}).value, 300u);
    EXPECT_EQ(distance(AbsoluteFrame{450}, AbsoluteFrame{150}).value, 0u);
}

TEST(Addressing, FileSectorsAreRawSectorsFromTheFirstDataByte)
{
    EXPECT_EQ(byteOffsetOf(FileSector{0}), 0u);
    EXPECT_EQ(byteOffsetOf(FileSector{3}), 3u * 2352u);
    EXPECT_EQ(byteOffsetOf(FileSector{2000000}), 2000000ull * 2352u); // beyond 4 GiB
}

} // namespace
} // namespace cueify
