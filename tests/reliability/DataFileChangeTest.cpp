// The data file changes under a track that is playing: truncated, reads past its new end fail and
// never deliver a short or stale sector; deleted, the open file still holds every sector.
#include "ScratchDirectory.h"
#include "host/PluginHost.h"
#include "host/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <memory>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace reliability {
namespace {

using Vantor::SP;
using Vantor::Proc::IDataPacket;
using Vantor::Proc::IParser;

constexpr uint32_t kPlayedBeforeChange = 100;
constexpr uint32_t kNewEnd = 150; // of track 2, in sectors

struct TruncationCase
{
    const char* name;
    mkdisc::DataFileFormat format;
    bool filePerTrack;
    uint64_t bytesPastNewEnd; // a partial sector left after the last whole one
};

void PrintTo(const TruncationCase& value, std::ostream* out)
{
    *out << value.name;
}

class DataFileChangeTest : public testing::Test
{
protected:
    void makeDisc(mkdisc::DataFileFormat format, bool filePerTrack)
    {
        disc = std::make_unique<TestDisc>(directory.path(), format, filePerTrack);
        trackPath = host.readDisc(disc->written.cueSheet)->GetTrackPath(2).utf8string();
    }

    SP<IParser> playSome()
    {
        SP<IParser> parser = host.open(trackPath);
        for (uint32_t k = 0; k < kPlayedBeforeChange; ++k)
            EXPECT_TRUE(isSector(parser->Read(), disc->sector(2, k), k)) << "sector " << k;
        return parser;
    }

    testsupport::ScratchDirectory directory;
    PluginHost host;
    std::unique_ptr<TestDisc> disc;
    std::string trackPath;
};

class TruncatedDataFile : public DataFileChangeTest, public testing::WithParamInterface<TruncationCase>
{
};

TEST_P(TruncatedDataFile, ReadsUpToTheNewEndDeliverWholeSectorsAndPastItFail)
{
    makeDisc(GetParam().format, GetParam().filePerTrack);
    SP<IParser> parser = playSome();
    std::filesystem::resize_file(disc->dataFileOf(2),
                                 disc->byteOffsetOf(2, kNewEnd) + GetParam().bytesPastNewEnd);
    support::LogCapture log;

    for (uint32_t k = kPlayedBeforeChange; k < kNewEnd; ++k)
        ASSERT_TRUE(isSector(parser->Read(), disc->sector(2, k), k)) << "sector " << k;
    EXPECT_FALSE(parser->Read());
    EXPECT_FALSE(parser->Read());

    EXPECT_EQ(log.messages(google::GLOG_ERROR), std::vector<std::string>(2, "An internal error occured."));
}

INSTANTIATE_TEST_SUITE_P(
    Images, TruncatedDataFile,
    testing::Values(TruncationCase{"BinaryAtSectorBoundary", mkdisc::DataFileFormat::Binary, false, 0},
                    TruncationCase{"BinaryInsideASector", mkdisc::DataFileFormat::Binary, false, 1000},
                    TruncationCase{"WaveInsideASector", mkdisc::DataFileFormat::Wave, true, 2351}),
    [](const testing::TestParamInfo<TruncationCase>& info) { return info.param.name; });

TEST_F(DataFileChangeTest, DeletedDataFileKeepsPlayingTheSectorsItHeldButCannotBeOpenedAgain)
{
    makeDisc(mkdisc::DataFileFormat::Binary, false);
    SP<IParser> parser = playSome();
    std::filesystem::remove(disc->dataFileOf(2));

    uint32_t k = kPlayedBeforeChange;
    for (SP<IDataPacket> packet = parser->Read(); packet; packet = parser->Read(), ++k)
        ASSERT_TRUE(isSector(packet, disc->sector(2, k), k)) << "sector " << k;
    EXPECT_EQ(k, disc->track(2).lengthSectors);

    EXPECT_THROW(host.open(trackPath), Vantor::Proc::CDReaderException);
}

} // namespace
} // namespace reliability
