// A read that fails in the middle of a track, as a scratch on a disc does: the host gets no packet
// and an ERROR line for each try, and the track plays on from that sector once the fault is gone.
#include "host/ReadFault.h"
#include "ScratchDirectory.h"
#include "host/PluginHost.h"
#include "host/TestDisc.h"

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

TEST_P(ReadFaultTest, FailedSectorGivesNoPacketAndAnErrorLineThenTheTrackPlaysOnFromItOnceTheFaultIsLifted)
{
    const uint32_t faulty = GetParam().faultySector;
    SP<IParser> parser = playUpToFault();
    support::LogCapture log;

    EXPECT_FALSE(parser->Read());
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(log.messages(google::GLOG_ERROR), std::vector<std::string>(2, "An internal error occured."));
    fault->lift();

    uint32_t k = faulty;
    for (SP<IDataPacket> packet = parser->Read(); packet; packet = parser->Read(), ++k)
        ASSERT_TRUE(isSector(packet, disc.sector(2, k), k)) << "sector " << k;
    EXPECT_EQ(k, disc.track(2).lengthSectors);
    EXPECT_EQ(log.lines().size(), 2u);
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
