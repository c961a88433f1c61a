#include "ParserCDFixture.h"

namespace {

using namespace cdtest;
using Vantor::Proc::IDataPacket;
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

    // What a packet tells a host, and the sector it was read from.
    std::vector<long long> Facts(const SP<IDataPacket>& packet) const
    {
        if (!packet)
            return {};
        return {packet->GetPts(),           packet->GetDts(),       packet->GetDuration(),
                packet->IsKeyFrame(),       packet->GetMediaType(), static_cast<long long>(packet->GetSize()),
                disc.readAddresses().back()};
    }
    // The facts of the k-th sector's packet.
    static std::vector<long long> Sector(long long k)
    {
        return {k * 13333, k * 13333, 13333, 1, 2, 2352, kFirstLba + k};
    }
};

// A 74-minute track: 333000 sectors, each one key-frame packet stamped k × 13333 us. Past 36
// minutes the stamps no longer fit 32 bits; a seek to the very end lands on sector 333008, past the
// last one.
TEST_F(ParserCDStream, SeekMovesToTheSectorThatHoldsTheTimeStampedIn64BitsAndTheEndPlaysTheLastSector)
{
    const SP<IParser> parser = OpenTrack2(discgeometry::framesOf({74, 0, 0}));
    EXPECT_EQ(
        (std::vector<long long>{parser->GetDuration(), parser->GetStreamDuration(7), parser->GetSize(),
                                parser->GetStreamCount(), parser->GetStreamType(7), parser->GetSeekStream()}),
        (std::vector<long long>{4440000000, 4440000000, 783216000, 1, 2, 0}));
    const std::pair<Vantor::avTime, uint32_t> seeks[] = {
        {0, 0}, {13332, 0}, {13333, 1}, {999975, 75}, {2400000000, 180004}, {4439875667, 332999}};
    for (const auto& [time, sector] : seeks) {
        parser->Seek(0, time);
        EXPECT_EQ(Facts(parser->Read()), Sector(sector)) << time;
    }
    EXPECT_FALSE(parser->Read());
    EXPECT_FALSE(parser->Read()); // the end stays
    parser->Seek(0, 4440000000);
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(disc.readAddresses().size(), std::size(seeks));
}

// A failed read gives no packet and is tried again at the next Read.
TEST_F(ParserCDStream, BadSeekThrowsTheTimeErrorFirstFailedReadLogsTheCueifyErrorAndBothKeepThePosition)
{
    const SP<IParser> parser = OpenTrack2(15040); // 03:20:40, 200 whole seconds
    parser->Read();
    const std::string time = "Seek error: invalid seek time position";
    const std::tuple<Vantor::Index, Vantor::avTime, std::string> cases[] = {
        {0, 200000001, time}, {0, -1, time}, {1, -1, time}, {1, 0, "Seek error: invalid seek stream index"}};
    for (const auto& [stream, at, description] : cases)
        EXPECT_EQ(FailureOf([&, stream = stream, at = at] { parser->Seek(stream, at); }),
                  Failure("Exception", description,
                          "virtual void Vantor::Proc::ParserCD::Seek(Vantor::Index, Vantor::avTime)",
                          std::nullopt, TrackPath("2"), stream));
    disc.failReadAt(kFirstLba + 1, CUEIFY_ERR_NOMEM);
    const support::LogCapture log;
    EXPECT_FALSE(parser->Read());
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(disc.readAddresses(), (std::vector<uint32_t>{kFirstLba, kFirstLba + 1, kFirstLba + 1}));
    EXPECT_EQ(log.lines(),
              std::vector<std::string>(2, "ERROR: Memory could not be allocated during this operation."));
}

} // namespace
