#include "PcmReader.h"
#include "UserError.h"

#include "Vantor/Proc/IParser.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace vantorcd {
namespace {

using Vantor::avTime;
using Vantor::Index;
using Vantor::SP;

constexpr size_t kSectorBytes = 2352;
constexpr avTime kSectorDuration = 13333;

// Each byte depends on its sector and its place in it, so that misplaced slices show.
uint8_t byteOf(uint32_t sector, size_t offset)
{
    return static_cast<uint8_t>(sector * 7 + offset);
}

// The host's reference counting, for the fakes below.
template <class Interface>
class Counted : public Interface
{
public:
    long AddRef() const override { return m_count.AddRefImpl(); }
    long GetRefCount() const override { return m_count.GetRefCountImpl(); }
    long Release() const override
    {
        const long left = m_count.ReleaseImpl();
        if (left == 0)
            delete this;
        return left;
    }

private:
    Vantor::RefCountImpl m_count;
};

class FakePacket : public Counted<Vantor::Proc::IDataPacket>
{
public:
    FakePacket(uint32_t sector) : m_pts(sector * kSectorDuration), m_data(kSectorBytes)
    {
        for (size_t i = 0; i < m_data.size(); ++i)
            m_data[i] = byteOf(sector, i);
    }
    Vantor::MediaType GetMediaType() const override { return Vantor::MEDIA_TYPE_AUDIO; }
    long long GetPts() const override { return m_pts; }
    long long GetDts() const override { return m_pts; }
    long long GetDuration() const override { return kSectorDuration; }
    const uint8_t* GetData() const override { return m_data.data(); }
    size_t GetSize() const override { return m_data.size(); }
    bool IsKeyFrame() const override { return true; }
    const AVPacket* GetAVPacket() const override { return nullptr; }

private:
    long long m_pts;
    std::vector<uint8_t> m_data;
};

// Reads and seeks as the CD parser does: null at the end and after a failed read, which the
// next Read tries again; Seek to time / 13333, refused past the whole-second duration.
class FakeParser : public Counted<Vantor::Proc::IParser>
{
public:
    FakeParser(uint32_t sectors, avTime duration) : m_sectors(sectors), m_duration(duration) {}
    avTime GetDuration() const override { return m_duration; }
    avTime GetStreamDuration(Index) const override { return m_duration; }
    int64_t GetSize() const override { return 0; }
    SP<Vantor::Conf::IFormatFile> GetFormatFile() const override { return nullptr; }
    Index GetStreamCount() const override { return 1; }
    Vantor::MediaType GetStreamType(Index) const override { return Vantor::MEDIA_TYPE_AUDIO; }
    SP<Vantor::Conf::IFormatCodec> GetStreamExtInfo(Index) const override { return nullptr; }
    Index GetSeekStream() override { return 0; }
    Vantor::Core::Property GetStatistic() const override { return Vantor::Core::Property(); }
    void Seek(Index, avTime time) override
    {
        seeks.push_back(time);
        if (time > m_duration)
            throw UserError("seek past the duration");
        m_position = static_cast<uint32_t>(time / kSectorDuration);
    }
    SP<Vantor::Proc::IDataPacket> Read() override
    {
        if (m_position >= m_sectors)
            return nullptr;
        if (failuresLeft[m_position] > 0) {
            --failuresLeft[m_position];
            return nullptr;
        }
        return SP<Vantor::Proc::IDataPacket>(new FakePacket(m_position++));
    }

    std::map<uint32_t, int> failuresLeft;
    std::vector<avTime> seeks;

private:
    uint32_t m_sectors;
    avTime m_duration;
    uint32_t m_position = 0;
};

// Track 2 of a disc: 100 sectors from LBA 1000, 1 s of whole-second duration.
class PcmReaderTest : public ::testing::Test
{
protected:
    static constexpr TrackExtent kExtent{2, 1000, 100};

    std::vector<uint8_t> readAll(const SampleRange& range)
    {
        PcmReader reader(parser, kExtent, range, [] { return std::string("Read error"); });
        std::vector<uint8_t> bytes;
        for (PcmChunk chunk = reader.next(); chunk.size; chunk = reader.next())
            bytes.insert(bytes.end(), chunk.data, chunk.data + chunk.size);
        EXPECT_EQ(reader.bytesDone(), bytes.size());
        return bytes;
    }

    static std::vector<uint8_t> expectedBytes(uint64_t beginSample, uint64_t endSample)
    {
        std::vector<uint8_t> bytes;
        for (uint64_t byte = beginSample * 4; byte < endSample * 4; ++byte)
            bytes.push_back(byteOf(static_cast<uint32_t>(byte / kSectorBytes), byte % kSectorBytes));
        return bytes;
    }

    FakeParser* fake = new FakeParser(100, 1000000);
    SP<Vantor::Proc::IParser> parser{fake};
};

TEST_F(PcmReaderTest, ReadsTheWholeTrackWithoutSeeking)
{
    EXPECT_EQ(readAll({0, 58800}), expectedBytes(0, 58800));
    EXPECT_TRUE(fake->seeks.empty());
}

TEST_F(PcmReaderTest, RetriesAFailedSectorAndGoesOn)
{
    fake->failuresLeft[3] = PcmReader::kReadAttempts - 1;
    EXPECT_EQ(readAll({0, 58800}), expectedBytes(0, 58800));
}

TEST_F(PcmReaderTest, NamesTheSectorWhenEveryAttemptFails)
{
    fake->failuresLeft[3] = PcmReader::kReadAttempts;
    try {
        readAll({0, 58800});
        ADD_FAILURE() << "no error";
    } catch (const UserError& error) {
        EXPECT_STREQ(error.what(), "cannot read sector 3 of track 2 (LBA 1003): Read error");
    }
}

TEST_F(PcmReaderTest, RangeInsideSectorsSeeksToTheFirstAndCutsSamples)
{
    EXPECT_EQ(readAll({600, 1000}), expectedBytes(600, 1000));
    EXPECT_EQ(fake->seeks, std::vector<avTime>{kSectorDuration});
}

TEST_F(PcmReaderTest, StartPastTheWholeSecondsSeeksThereAndReadsForward)
{
    // Sector 80 lies at 1,066,640 µs, past the parser's duration of 1 s (sector 75).
    EXPECT_EQ(readAll({80 * 588 + 5, 90 * 588}), expectedBytes(80 * 588 + 5, 90 * 588));
    EXPECT_EQ(fake->seeks, std::vector<avTime>{1000000});
}

} // namespace
} // namespace vantorcd
