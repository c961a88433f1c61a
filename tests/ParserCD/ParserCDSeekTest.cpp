#include "FakeTrack.h"

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

#include <boost/exception/get_error_info.hpp>
#include <boost/throw_exception.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using faketrack::ReadAddresses;
using Vantor::avTime;
using Vantor::Index;
using Vantor::SP;
using Vantor::Proc::IParser;

constexpr uint32_t FIRST_LBA = 300;
constexpr uint32_t SECTORS_3_20_40 = 3 * 4500 + 20 * 75 + 40; // 15040
constexpr avTime DURATION_3_20_40 = 200000000;
constexpr const char* TIME_ERROR = "Seek error: invalid seek time position";
constexpr const char* STREAM_ERROR = "Seek error: invalid seek stream index";

class ParserCDSeek : public faketrack::FakeDiscTest
{
protected:
    SP<IParser> OpenTrack2(uint32_t sectors)
    {
        disc.setDisc(faketrack::AudioDisc(0, {FIRST_LBA, sectors}));
        return Vantor::Proc::ParserCD::Create(faketrack::TrackInput(2), {}, nullptr);
    }

    // The address of the sector the next Read fetches.
    static uint32_t NextReadAddress(const SP<IParser>& parser)
    {
        EXPECT_TRUE(parser->Read());
        const std::vector<uint32_t> addresses = ReadAddresses();
        return addresses.empty() ? 0 : addresses.back();
    }
};

TEST_F(ParserCDSeek, MovesToTheSectorThatHoldsTheTime)
{
    struct Case
    {
        avTime time;
        uint32_t sector;
    };
    const Case cases[] = {{0, 0}, {13332, 0}, {13333, 1}, {26665, 1}, {999975, 75}, {1000000, 75}};
    SP<IParser> parser = OpenTrack2(SECTORS_3_20_40);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        parser->Seek(0, c.time);
        EXPECT_EQ(NextReadAddress(parser), FIRST_LBA + c.sector);
    }
}

TEST_F(ParserCDSeek, PacketAfterSeekIsStampedBySectorNotByRequestedTime)
{
    SP<IParser> parser = OpenTrack2(SECTORS_3_20_40);
    parser->Seek(0, 1000000);
    const SP<Vantor::Proc::IDataPacket> packet = parser->Read();
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->GetPts(), 75 * 13333);
}

TEST_F(ParserCDSeek, SeekToTheEndStillDeliversTheLastFortySectors)
{
    SP<IParser> parser = OpenTrack2(SECTORS_3_20_40);
    parser->Seek(0, DURATION_3_20_40);
    int delivered = 0;
    while (parser->Read())
        ++delivered;
    EXPECT_EQ(delivered, 40);
    const std::vector<uint32_t> addresses = ReadAddresses();
    ASSERT_FALSE(addresses.empty());
    EXPECT_EQ(addresses.front(), FIRST_LBA + 15000);
    EXPECT_EQ(addresses.back(), FIRST_LBA + SECTORS_3_20_40 - 1);
}

TEST_F(ParserCDSeek, SeekToTheEndOfA74MinuteTrackLandsPastItsLastSector)
{
    SP<IParser> parser = OpenTrack2(74 * 4500);
    ASSERT_EQ(parser->GetDuration(), 4440000000LL);
    parser->Seek(0, parser->GetDuration()); // sector 333008 of 333000
    EXPECT_FALSE(parser->Read());
    EXPECT_TRUE(ReadAddresses().empty());

    parser->Seek(0, 332999 * 13333LL); // the last sector is still reachable
    EXPECT_EQ(NextReadAddress(parser), FIRST_LBA + 332999);
    EXPECT_FALSE(parser->Read());
}

TEST_F(ParserCDSeek, SeekAfterTheEndPlaysAgain)
{
    SP<IParser> parser = OpenTrack2(5);
    while (parser->Read()) {
    }
    parser->Seek(0, 0);
    EXPECT_EQ(NextReadAddress(parser), FIRST_LBA);
}

struct BadSeek
{
    Index stream;
    avTime time;
    const char* description;
};

class ParserCDBadSeek : public ParserCDSeek, public testing::WithParamInterface<BadSeek>
{
};

TEST_P(ParserCDBadSeek, ThrowsDescribedExceptionAndKeepsThePosition)
{
    const BadSeek bad = GetParam();
    SP<IParser> parser = OpenTrack2(SECTORS_3_20_40);
    parser->Read();
    parser->Read();
    parser->Read();
    const std::string path = Vantor::Proc::ICDReader::CD_PATH_PREFIX + faketrack::DRIVE +
                             Vantor::Proc::ICDReader::CD_TRACK_PREFIX + "2.cda";

    try {
        parser->Seek(bad.stream, bad.time);
        FAIL() << "Seek did not throw";
    } catch (const Vantor::Exception& e) {
        EXPECT_EQ(dynamic_cast<const Vantor::Proc::ProcException*>(&e), nullptr);
        const std::string* description = boost::get_error_info<Vantor::ErrorDescription>(e);
        const std::string* filename = boost::get_error_info<Vantor::ErrorFilename>(e);
        const Index* stream = boost::get_error_info<Vantor::Proc::ErrorStreamIndex>(e);
        const char* const* function = boost::get_error_info<boost::throw_function>(e);
        ASSERT_TRUE(description && filename && stream && function);
        EXPECT_EQ(*description, bad.description);
        EXPECT_EQ(*filename, path);
        EXPECT_EQ(*stream, bad.stream);
        EXPECT_STREQ(*function, "virtual void Vantor::Proc::ParserCD::Seek(Vantor::Index, Vantor::avTime)");
        EXPECT_NE(boost::get_error_info<Vantor::ErrorCallStack>(e), nullptr);
        EXPECT_STREQ(e.what(), std::exception().what());
    }
    EXPECT_EQ(NextReadAddress(parser), FIRST_LBA + 3);
}

INSTANTIATE_TEST_SUITE_P(TimeCheckedBeforeStream, ParserCDBadSeek,
                         testing::Values(BadSeek{0, DURATION_3_20_40 + 1, TIME_ERROR},
                                         BadSeek{0, -1, TIME_ERROR}, BadSeek{0, INT64_MIN, TIME_ERROR},
                                         BadSeek{1, 0, STREAM_ERROR},
                                         BadSeek{0xFFFFFFFF, DURATION_3_20_40, STREAM_ERROR},
                                         BadSeek{1, -1, TIME_ERROR}));

} // namespace
