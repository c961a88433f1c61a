#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"

#include "ParserCDFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace cdtest;
using Vantor::Proc::CDReader;
using Vantor::Proc::ICDReader;

// Does not exist on this machine, so drive resolution keeps it as the drive path.
const char* const DRIVE = "/dev/rdisk2";

class CDReaderTest : public cdtest::FakeDiscTest
{
protected:
    // An enhanced CD: twelve audio tracks, then a data track in a second session ending at 40:12:30.
    void SetUp() override
    {
        FakeDiscTest::SetUp();
        std::vector<uint32_t> lengths(12, 9000);
        lengths[6] = 3 * 4500 + 25 * 75 + 60;
        lengths.push_back(7 * 4500 + 38 * 75 + 30);
        fake::FakeDisc enhanced = AudioDisc(0, lengths);
        enhanced.tracks[12].session = 2;
        enhanced.tracks[12].control = CUEIFY_TOC_TRACK_IS_DATA;
        enhanced.sessions[0].lastTrack = 12;
        enhanced.sessions.push_back({2, 13, 13, CUEIFY_SESSION_MODE_2, {40, 12, 30}});
        disc.setDisc(enhanced);
    }
};

TEST_F(CDReaderTest, ListsTheDiscFromItsTocAloneWithTheDriveClosed)
{
    SP<ICDReader> reader = CDReader::Create(DRIVE);
    EXPECT_EQ(disc.liveDevices(), 0);
    disc.failOpen(CUEIFY_ERR_NO_DEVICE); // the drive is busy or empty from now on

    EXPECT_EQ(reader->GetTrackCount(), 13u);
    EXPECT_EQ(reader->GetDiskDuration(), 2412000000);
    EXPECT_EQ(reader->GetTrackDuration(7), 205000000);
    EXPECT_EQ(reader->GetTrackDuration(13), 458000000);
    const std::string start = ICDReader::CD_PATH_PREFIX + DRIVE + ICDReader::CD_TRACK_PREFIX;
    EXPECT_EQ(reader->GetTrackPath(7).utf8string(), start + "7.cda");
    EXPECT_EQ(reader->GetTrackPath(10).utf8string(), start + "10.cda");
    reader.reset();
    EXPECT_EQ(disc.liveTocs(), 0);
}

TEST_F(CDReaderTest, TracksOutsideTheDiscAreRefused)
{
    const SP<ICDReader> reader = CDReader::Create(DRIVE);
    for (const Vantor::Index track : {0u, 14u}) {
        EXPECT_EQ(
            FailureOf([&] { reader->GetTrackDuration(track); }),
            (Failure{
                "CDReaderException", "Invalid track index",
                "virtual Vantor::avTime Vantor::Proc::CDReader::GetTrackDuration(Vantor::Index) const"}));
        EXPECT_EQ(
            FailureOf([&] { reader->GetTrackPath(track); }),
            (Failure{"CDReaderException", "Invalid track index",
                     "virtual Vantor::ioPath Vantor::Proc::CDReader::GetTrackPath(Vantor::Index) const"}));
    }
}

TEST_F(CDReaderTest, CreateOnADriveThatCannotBeOpenedFailsAndLeavesNothing)
{
    disc.failOpen(CUEIFY_ERR_NO_DEVICE);
    EXPECT_EQ(FailureOf([] { CDReader::Create(DRIVE); }),
              (Failure{"CDReaderException",
                       "Cannot open cueify device /dev/rdisk2. Cueify error: The device could not be opened.",
                       "void Vantor::Proc::CDReader::Open()"}));
    ExpectEverythingFreed();
}

} // namespace
