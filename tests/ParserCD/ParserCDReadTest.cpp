#include "FakeTrack.h"
#include "LogCapture.h"

#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using faketrack::PatternSector;
using faketrack::ReadAddresses;
using Vantor::SP;
using Vantor::Proc::IDataPacket;
using Vantor::Proc::IParser;

constexpr long long SECTOR_DURATION = 13333;

fake::Sector BytesOf(const SP<IDataPacket>& packet)
{
    fake::Sector bytes{};
    EXPECT_EQ(packet->GetSize(), bytes.size());
    std::copy(packet->GetData(), packet->GetData() + bytes.size(), bytes.begin());
    return bytes;
}

class ParserCDRead : public faketrack::FakeDiscTest
{
protected:
    // Track 2 of the disc starts at LBA 750, so a read that ignores the track's start shows.
    SP<IParser> OpenTrack2(uint32_t sectors)
    {
        disc.setDisc(faketrack::AudioDisc(0, {FIRST_LBA, sectors}));
        return Vantor::Proc::ParserCD::Create(faketrack::TrackInput(2), {}, nullptr);
    }

    static constexpr uint32_t FIRST_LBA = 750;
};

TEST_F(ParserCDRead, FirstPacketIsTheTracksFirstSectorAtTimeZero)
{
    disc.setSector(FIRST_LBA, PatternSector(FIRST_LBA));
    SP<IParser> parser = OpenTrack2(900);

    const SP<IDataPacket> packet = parser->Read();

    ASSERT_TRUE(packet);
    EXPECT_EQ(BytesOf(packet), PatternSector(FIRST_LBA));
    EXPECT_EQ(packet->GetPts(), 0);
    EXPECT_EQ(packet->GetDts(), 0);
    EXPECT_EQ(packet->GetDuration(), SECTOR_DURATION);
    EXPECT_TRUE(packet->IsKeyFrame());
    EXPECT_EQ(packet->GetMediaType(), Vantor::MEDIA_TYPE_AUDIO);
    EXPECT_EQ(ReadAddresses(), std::vector<uint32_t>{FIRST_LBA});
}

TEST_F(ParserCDRead, SectorKIsStampedKTimes13333AndComesFromTheNextAddress)
{
    SP<IParser> parser = OpenTrack2(900);
    std::vector<uint32_t> expectedAddresses;
    for (uint32_t k = 0; k <= 75; ++k) {
        const SP<IDataPacket> packet = parser->Read();
        ASSERT_TRUE(packet) << "sector " << k;
        EXPECT_EQ(packet->GetPts(), k * SECTOR_DURATION);
        EXPECT_EQ(packet->GetDts(), packet->GetPts());
        EXPECT_TRUE(packet->IsKeyFrame());
        expectedAddresses.push_back(FIRST_LBA + k);
        if (k == 75)
            EXPECT_EQ(packet->GetPts(), 999975); // 25 us short of one second
    }
    EXPECT_EQ(ReadAddresses(), expectedAddresses);
}

TEST_F(ParserCDRead, EndOfTrackReturnsNullEveryTimeWithoutReading)
{
    disc.setSector(FIRST_LBA + 9, PatternSector(FIRST_LBA + 9));
    SP<IParser> parser = OpenTrack2(10);
    SP<IDataPacket> last;
    for (int k = 0; k < 10; ++k)
        last = parser->Read();
    ASSERT_TRUE(last);
    EXPECT_EQ(BytesOf(last), PatternSector(FIRST_LBA + 9));

    for (int extra = 0; extra < 3; ++extra)
        EXPECT_FALSE(parser->Read());
    EXPECT_EQ(ReadAddresses().size(), 10u);
}

TEST_F(ParserCDRead, StreamQueriesDescribeOneAudioStreamWhateverTheIndex)
{
    SP<IParser> parser = OpenTrack2(15040); // 03:20:40
    EXPECT_EQ(parser->GetStreamCount(), 1u);
    EXPECT_EQ(parser->GetStreamType(7), Vantor::MEDIA_TYPE_AUDIO);
    EXPECT_EQ(parser->GetStreamDuration(7), 200000000);
    EXPECT_EQ(parser->GetDuration(), 200000000);
    EXPECT_EQ(parser->GetSeekStream(), 0u);
}

TEST_F(ParserCDRead, ReleasingTheParserFreesTheDevice)
{
    SP<IParser> parser = OpenTrack2(20);
    parser->Read();
    parser.reset();
    ExpectEverythingFreed();
}

class ParserCDFailedRead : public ParserCDRead, public testing::WithParamInterface<int>
{
};

TEST_P(ParserCDFailedRead, GivesNullLogsTheErrorOnceAndRetriesTheSameSector)
{
    const int code = GetParam();
    const uint32_t failing = FIRST_LBA + 2;
    disc.setSector(failing, PatternSector(failing));
    disc.failReadCount(failing, code, 1);
    SP<IParser> parser = OpenTrack2(900);
    parser->Read();
    parser->Read();

    support::LogCapture log;
    EXPECT_FALSE(parser->Read());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].severity, google::GLOG_ERROR);
    EXPECT_EQ(log.lines()[0].message, CueifyError2String(code));
    EXPECT_FALSE(log.lines()[0].message.empty());

    const SP<IDataPacket> retried = parser->Read();
    ASSERT_TRUE(retried);
    EXPECT_EQ(BytesOf(retried), PatternSector(failing));
    EXPECT_EQ(retried->GetPts(), 2 * SECTOR_DURATION);
    EXPECT_EQ(ReadAddresses(), (std::vector<uint32_t>{FIRST_LBA, FIRST_LBA + 1, failing, failing}));
    EXPECT_EQ(log.lines().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(CueifyErrors, ParserCDFailedRead,
                         testing::Values(CUEIFY_NO_DATA, CUEIFY_ERR_INTERNAL, CUEIFY_ERR_BADARG));

} // namespace
