#include "ParserCDFixture.h"

#include <discgeometry/DiscGeometry.h>

namespace {

using namespace cdtest;
using Vantor::Proc::IParser;

constexpr uint32_t kFirstLba = 750; // track 2's first sector, so a read that ignores the track's start shows

class ParserCDStream : public FakeDiscTest
{
protected:
    SP<IParser> OpenTrack2(uint32_t sectors)
    {
        disc.setDisc(AudioDisc({kFirstLba, sectors}));
        return Open(TrackPath("2"));
    }

    // Where the next Read reads from.
    static uint32_t NextReadAddress(const SP<IParser>& parser)
    {
        EXPECT_TRUE(parser->Read());
        return ReadAddresses().back();
    }
};

TEST_F(ParserCDStream, EverySectorIsOneKeyFramePacketStampedKTimes13333UntilTheEndStays)
{
    const SP<IParser> parser = OpenTrack2(76);
    for (uint32_t k = 0; k < 76; ++k) {
        const SP<Vantor::Proc::IDataPacket> packet = parser->Read();
        ASSERT_TRUE(packet) << k;
        const long long time = k * 13333LL; // sector 75 at 999975, 25 us before one second
        EXPECT_EQ(std::vector<long long>({packet->GetPts(), packet->GetDts(), packet->GetDuration(),
                                          packet->IsKeyFrame(), packet->GetMediaType()}),
                  std::vector<long long>({time, time, 13333, 1, 2}));
        EXPECT_EQ(ReadAddresses().back(), kFirstLba + k);
    }
    EXPECT_FALSE(parser->Read());
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(ReadAddresses().size(), 76u);
}

// 03:20:40: 15040 sectors and 200 whole seconds.
TEST_F(ParserCDStream, SeekMovesToTheSectorThatHoldsTheTimeAndTheEndStillPlaysTheLastSectors)
{
    const SP<IParser> parser = OpenTrack2(15040);
    EXPECT_EQ(
        (std::vector<long long>{parser->GetDuration(), parser->GetStreamDuration(7), parser->GetSize(),
                                parser->GetStreamCount(), parser->GetStreamType(7), parser->GetSeekStream()}),
        (std::vector<long long>{200000000, 200000000, 35280000, 1, 2, 0}));
    const std::pair<Vantor::avTime, uint32_t> seeks[] = {
        {0, 0}, {13332, 0}, {13333, 1}, {999975, 75}, {200000000, 15000}};
    for (const auto& [time, sector] : seeks) {
        parser->Seek(0, time);
        EXPECT_EQ(NextReadAddress(parser), kFirstLba + sector) << time;
    }
    for (int k = 0; k < 39; ++k) // the track's last sectors still play
        ASSERT_TRUE(parser->Read()) << k;
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(ReadAddresses().back(), kFirstLba + 15039);
}

// Sector 180004 is stamped 2399993332 us, past what 32 bits hold.
TEST_F(ParserCDStream, SeekPast36MinutesStampsIn64BitsAndSeekToTheEndOfA74MinuteTrackLandsPastItsLastSector)
{
    const SP<IParser> parser = OpenTrack2(discgeometry::framesOf({74, 0, 0}));
    parser->Seek(0, 2400000000);
    const SP<Vantor::Proc::IDataPacket> packet = parser->Read();
    ASSERT_TRUE(packet);
    EXPECT_EQ(std::vector<long long>({packet->GetPts(), packet->GetDts(), ReadAddresses().back()}),
              std::vector<long long>({2399993332, 2399993332, kFirstLba + 180004}));
    parser->Seek(0, 4440000000); // sector 333008 of 333000
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(ReadAddresses().size(), 1u);
    parser->Seek(0, 0);
    EXPECT_EQ(NextReadAddress(parser), kFirstLba);
}

TEST_F(ParserCDStream, BadSeekThrowsTheTimeErrorFirstAndKeepsThePosition)
{
    const SP<IParser> parser = OpenTrack2(15040);
    parser->Read();
    const std::string time = "Seek error: invalid seek time position";
    const std::tuple<Vantor::Index, Vantor::avTime, std::string> cases[] = {
        {0, 200000001, time}, {0, -1, time}, {1, -1, time}, {1, 0, "Seek error: invalid seek stream index"}};
    for (const auto& [stream, at, description] : cases)
        EXPECT_EQ(FailureOf([&, stream = stream, at = at] { parser->Seek(stream, at); }),
                  (Failure{"Exception", description,
                           "virtual void Vantor::Proc::ParserCD::Seek(Vantor::Index, Vantor::avTime)",
                           std::nullopt, TrackPath("2"), stream}));
    EXPECT_EQ(NextReadAddress(parser), kFirstLba + 1);
}

TEST_F(ParserCDStream, FailedReadLogsTheCueifyErrorGivesNoPacketAndKeepsThePosition)
{
    const SP<IParser> parser = OpenTrack2(3);
    parser->Read();
    disc.failReadAt(kFirstLba + 1, CUEIFY_ERR_NOMEM);
    const support::LogCapture log;
    EXPECT_FALSE(parser->Read());
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(ReadAddresses(), (std::vector<uint32_t>{kFirstLba, kFirstLba + 1, kFirstLba + 1}));
    EXPECT_EQ(log.messages(google::GLOG_ERROR),
              std::vector<std::string>(2, "Memory could not be allocated during this operation."));
    EXPECT_EQ(log.lines().size(), 2u);
}

} // namespace
