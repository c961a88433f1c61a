// A read that fails in the middle of a track, as a scratch on a disc does: the host gets no packet
// and one ERROR line, and the same sector is read again once the fault is gone.
#include "support/ReadFault.h"
#include "ScratchDirectory.h"
#include "support/PluginHost.h"
#include "support/TestDisc.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace reliability {
namespace {

using Vantor::SP;
using Vantor::Proc::IDataPacket;
using Vantor::Proc::IParser;

const std::vector<std::string> kOneReadError{"An internal error occured."};

struct FaultCase
{
    const char* name;
    mkdisc::DataFileFormat format;
    bool filePerTrack;
    uint32_t faultySector; // of track 2, which has 300 sectors
};

void PrintTo(const FaultCase& value, std::ostream* out)
{
    *out << value.name;
}

class ReadFaultTest : public testing::TestWithParam<FaultCase>
{
protected:
    // Plays track 2 up to the faulty sector, checking every packet. The fault is there from the
    // start, as a scratch is: while a track plays in order the library reads ahead in large
    // blocks, and a sector read before the fault appeared stays readable, as in a drive's cache.
    SP<IParser> playUpToFault()
    {
        fault.emplace(disc.dataFileOf(2), disc.byteOffsetOf(2, GetParam().faultySector));
        SP<IParser> parser = host.open(host.readDisc(disc.written.cueSheet)->GetTrackPath(2).utf8string());
        for (uint32_t k = 0; k < GetParam().faultySector; ++k)
            EXPECT_TRUE(isSector(parser->Read(), disc.sector(2, k), k)) << "sector " << k;
        return parser;
    }

    testsupport::ScratchDirectory directory;
    TestDisc disc{directory.path(), GetParam().format, GetParam().filePerTrack};
    PluginHost host;
    std::optional<ReadFault> fault;
};

TEST_P(ReadFaultTest, FailedSectorGivesNoPacketAndOneErrorLineThenIsReadOnceTheFaultIsLifted)
{
    const uint32_t k = GetParam().faultySector;
    SP<IParser> parser = playUpToFault();
    support::LogCapture log;

    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(log.messages(google::GLOG_ERROR), kOneReadError);
    EXPECT_FALSE(parser->Read());
    fault->lift();

    EXPECT_TRUE(isSector(parser->Read(), disc.sector(2, k), k));
    EXPECT_EQ(log.messages(google::GLOG_ERROR).size(), 2u);
}

TEST_P(ReadFaultTest, TrackPlaysToItsEndAfterTheFaultWithNothingSkipped)
{
    SP<IParser> parser = playUpToFault();
    ASSERT_FALSE(parser->Read());
    fault.reset();
    support::LogCapture log;
    uint32_t k = GetParam().faultySector;
    for (SP<IDataPacket> packet = parser->Read(); packet; packet = parser->Read(), ++k)
        ASSERT_TRUE(isSector(packet, disc.sector(2, k), k)) << "sector " << k;

    EXPECT_EQ(k, disc.track(2).lengthSectors);
    EXPECT_TRUE(log.messages(google::GLOG_ERROR).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Images, ReadFaultTest,
    testing::Values(FaultCase{"FirstSectorOfBinaryImage", mkdisc::DataFileFormat::Binary, false, 0},
                    FaultCase{"MiddleOfBinaryImage", mkdisc::DataFileFormat::Binary, false, 150},
                    FaultCase{"LastSectorOfBinaryImage", mkdisc::DataFileFormat::Binary, false, 299},
                    FaultCase{"MiddleOfWaveFilePerTrack", mkdisc::DataFileFormat::Wave, true, 150}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

} // namespace
} // namespace reliability
