#include "SecureRead.h"

#include "UserError.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantorcd {
namespace {

SectorBytes filled(uint8_t value)
{
    SectorBytes sector;
    sector.fill(value);
    return sector;
}

// A drive that answers the reads of sector 100 from a list, in turn.
struct ScriptedDrive
{
    explicit ScriptedDrive(std::vector<uint8_t> script) : answers(std::move(script)) {}

    std::vector<uint8_t> answers;
    size_t next = 0;

    OffsetCorrection::ReadSector reader()
    {
        return [this](uint32_t lba, SectorBytes& sector) {
            EXPECT_EQ(lba, 100u);
            sector = filled(answers.at(next++));
        };
    }
};

struct AgreeCase
{
    const char* name;
    uint8_t firstRead;
    std::vector<uint8_t> laterReads;
    uint8_t agreed;
    unsigned extraReads; // beyond the two every sector takes
};

class SecureReadAgreement : public ::testing::TestWithParam<AgreeCase>
{
};

TEST_P(SecureReadAgreement, KeepsTheFirstDataThatTwoReadsGive)
{
    const AgreeCase& c = GetParam();
    ScriptedDrive drive(c.laterReads);
    SecureRead secure(drive.reader());
    SectorBytes sector = filled(c.firstRead);
    EXPECT_EQ(secure.confirm(100, sector, 2), c.extraReads);
    EXPECT_TRUE(sector == filled(c.agreed));
}

INSTANTIATE_TEST_SUITE_P(Reads, SecureReadAgreement,
                         testing::Values(AgreeCase{"SameAtOnce", 1, {1}, 1, 0},
                                         AgreeCase{"EverySecondReadWrong", 1, {9, 1}, 1, 1},
                                         AgreeCase{"FirstReadWrong", 9, {1, 1}, 1, 1},
                                         AgreeCase{"AgreesWithAnEarlierRead", 1, {2, 3, 2}, 2, 2}),
                         [](const testing::TestParamInfo<AgreeCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SecureRead, ASectorThatNeverReadsTheSameTwiceNamesTheTrackAndTheSector)
{
    std::vector<uint8_t> allDifferent;
    for (uint8_t value = 2; value < 2 + SecureRead::kMaxReads; ++value)
        allDifferent.push_back(value);
    ScriptedDrive drive(allDifferent);
    SectorBytes sector = filled(1);
    try {
        SecureRead(drive.reader()).confirm(100, sector, 3);
        FAIL() << "no failure";
    } catch (const UserError& error) {
        EXPECT_STREQ(error.what(),
                     "track 3 cannot be read consistently: no two of 16 reads of LBA 100 agree");
    }
    EXPECT_EQ(drive.next, size_t{SecureRead::kMaxReads - 1});
}

} // namespace
} // namespace vantorcd
