#include "LogCapture.h"
#include "ParserCDFixture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using namespace cdtest;
using Vantor::Proc::IParser;

constexpr uint32_t FIRST_LBA = 750; // track 2's first sector, so a read that ignores the track's start shows

class ParserCDStream : public cdtest::FakeDiscTest
{
protected:
    SP<IParser> OpenTrack2(uint32_t sectors)
    {
        disc.setDisc(AudioDisc(0, {FIRST_LBA, sectors}));
        return Open(TrackPath("2"));
    }

    // Where the next Read reads from.
    static uint32_t NextReadAddress(const SP<IParser>& parser)
    {
        EXPECT_TRUE(parser->Read());
        return ReadAddresses().back();
    }
};

TEST_F(ParserCDStream, EverySectorOfTheTrackIsOneKeyFramePacketStampedKTimes13333)
{
    const SP<IParser> parser = OpenTrack2(76);
    for (uint32_t k = 0; k < 76; ++k) {
        fake::Sector sector;
        sector.fill(uint8_t(k + 1));
        disc.setSector(FIRST_LBA + k, sector);
        const SP<Vantor::Proc::IDataPacket> packet = parser->Read();
        ASSERT_TRUE(packet) << k;
        const long long time = k * 13333LL; // sector 75 at 999975, 25 us before one second
        EXPECT_EQ(std::vector<long long>({packet->GetPts(), packet->GetDts(), packet->GetDuration()}),
                  std::vector<long long>({time, time, 13333}));
        EXPECT_TRUE(packet->IsKeyFrame() && packet->GetMediaType() == Vantor::MEDIA_TYPE_AUDIO);
        EXPECT_EQ(std::vector<uint8_t>(packet->GetData(), packet->GetData() + packet->GetSize()),
                  std::vector<uint8_t>(sector.begin(), sector.end()));
        EXPECT_EQ(ReadAddresses().back(), FIRST_LBA + k);
    }
    EXPECT_FALSE(parser->Read());
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(ReadAddresses().size(), 76u);
}

TEST_F(ParserCDStream, FailedReadGivesNoPacketAndOneErrorLineAndTheNextReadRetriesTheSector)
{
    disc.failReadCount(FIRST_LBA + 1, CUEIFY_ERR_INTERNAL, 1);
    const SP<IParser> parser = OpenTrack2(900);
    parser->Read();
    support::LogCapture log;
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(log.messages(google::GLOG_ERROR), std::vector<std::string>{"An internal error occured."});
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(parser->Read()->GetPts(), 13333);
    EXPECT_EQ(ReadAddresses(), (std::vector<uint32_t>{FIRST_LBA, FIRST_LBA + 1, FIRST_LBA + 1}));
}

// 03:20:40: 15040 sectors and 200 whole seconds.
TEST_F(ParserCDStream, SeekMovesToTheSectorThatHoldsTheTimeAndTheEndStillPlaysTheLastSectors)
{
    const SP<IParser> parser = OpenTrack2(15040);
    EXPECT_EQ(
        (std::vector<long long>{parser->GetDuration(), parser->GetStreamDuration(7), parser->GetSize()}),
        (std::vector<long long>{200000000, 200000000, 35280000}));
    EXPECT_EQ((std::vector<unsigned>{parser->GetStreamCount(), unsigned(parser->GetStreamType(7)),
                                     parser->GetSeekStream()}),
              (std::vector<unsigned>{1, 2, 0}));
    const std::pair<Vantor::avTime, uint32_t> seeks[] = {{0, 0}, {13332, 0}, {13333, 1}, {999975, 75}};
    for (const auto& [time, sector] : seeks) {
        parser->Seek(0, time);
        EXPECT_EQ(NextReadAddress(parser), FIRST_LBA + sector) << time;
    }
    parser->Seek(0, 200000000);
    int delivered = 0;
    while (parser->Read())
        ++delivered;
    EXPECT_EQ(delivered, 40);
    EXPECT_EQ(ReadAddresses().back(), FIRST_LBA + 15039);
}

TEST_F(ParserCDStream, SeekToTheEndOfA74MinuteTrackLandsPastItsLastSectorUntilTheNextSeek)
{
    const SP<IParser> parser = OpenTrack2(74 * 4500);
    parser->Seek(0, 4440000000); // sector 333008 of 333000
    EXPECT_FALSE(parser->Read());
    EXPECT_TRUE(ReadAddresses().empty());
    parser->Seek(0, 0);
    EXPECT_EQ(NextReadAddress(parser), FIRST_LBA);
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
    EXPECT_EQ(NextReadAddress(parser), FIRST_LBA + 1);
}

} // namespace
