#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"

#include "ThrownFailure.h"
#include "cueify_fake/FakeCueify.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

namespace {

using testsupport::FailureOf;
using Vantor::Proc::CDReader;
using Vantor::Proc::CDReaderException;
using Vantor::Proc::ICDReader;

// Does not exist on this machine, so drive resolution keeps it as the drive path.
const char* const kDrive = "/dev/rdisk2";

const char* const kTrackDurationFunction =
    "virtual Vantor::avTime Vantor::Proc::CDReader::GetTrackDuration(Vantor::Index) const";
const char* const kTrackPathFunction =
    "virtual Vantor::ioPath Vantor::Proc::CDReader::GetTrackPath(Vantor::Index) const";

// An enhanced CD: twelve audio tracks, then one data track in a second session ending at 40:12:30.
fake::FakeDisc EnhancedDisc()
{
    fake::FakeDisc disc;
    disc.sessions = {{1, 1, 12, CUEIFY_SESSION_MODE_1, {30, 0, 0}},
                     {2, 13, 13, CUEIFY_SESSION_MODE_2, {40, 12, 30}}};
    for (uint8_t track = 1; track <= 12; ++track)
        disc.tracks.push_back({track, 1, 0, 1, {uint8_t(2 * track), 0, 0}, {2, 0, 0}});
    disc.tracks[6].length = {3, 25, 60};
    disc.tracks.push_back({13, 2, CUEIFY_TOC_TRACK_IS_DATA, 1, {32, 34, 0}, {7, 38, 30}});
    return disc;
}

class CDReaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        fake.reset();
        fake.setDisc(EnhancedDisc());
    }
    void TearDown() override
    {
        EXPECT_TRUE(fake.misuses().empty());
        fake.reset();
    }

    fake::FakeCueify& fake = fake::FakeCueify::instance();
};

TEST_F(CDReaderTest, TrackCountIsTheLastTrackOfTheLastSession)
{
    EXPECT_EQ(CDReader::Create(kDrive)->GetTrackCount(), 13u);
}

TEST_F(CDReaderTest, DiskDurationIsTheLastLeadOutAddress)
{
    EXPECT_EQ(CDReader::Create(kDrive)->GetDiskDuration(), 2412000000);
}

TEST_F(CDReaderTest, TrackDurationIsItsLengthInWholeSeconds)
{
    const Vantor::SP<ICDReader> reader = CDReader::Create(kDrive);
    EXPECT_EQ(reader->GetTrackDuration(7), 205000000);
    EXPECT_EQ(reader->GetTrackDuration(13), 458000000);
}

TEST_F(CDReaderTest, TrackPathJoinsPrefixesDriveAndNumber)
{
    const Vantor::SP<ICDReader> reader = CDReader::Create(kDrive);
    EXPECT_EQ(reader->GetTrackPath(7).utf8string(),
              ICDReader::CD_PATH_PREFIX + "/dev/rdisk2" + ICDReader::CD_TRACK_PREFIX + "7.cda");
    EXPECT_EQ(reader->GetTrackPath(10).utf8string(),
              ICDReader::CD_PATH_PREFIX + "/dev/rdisk2" + ICDReader::CD_TRACK_PREFIX + "10.cda");
    EXPECT_EQ(reader->GetTrackPath(13).utf8string(),
              ICDReader::CD_PATH_PREFIX + "/dev/rdisk2" + ICDReader::CD_TRACK_PREFIX + "13.cda");
}

TEST_F(CDReaderTest, TracksOutsideTheDiscAreRefused)
{
    const Vantor::SP<ICDReader> reader = CDReader::Create(kDrive);
    for (const Vantor::Index track : {0u, 14u, 0xFFFFFFFFu}) {
        const auto duration = FailureOf<CDReaderException>([&] { reader->GetTrackDuration(track); });
        ASSERT_TRUE(duration) << track;
        EXPECT_EQ(duration->description, "Invalid track index");
        EXPECT_EQ(duration->function, kTrackDurationFunction);
        EXPECT_TRUE(duration->hasCallStack);

        const auto path = FailureOf<CDReaderException>([&] { reader->GetTrackPath(track); });
        ASSERT_TRUE(path) << track;
        EXPECT_EQ(path->description, "Invalid track index");
        EXPECT_EQ(path->function, kTrackPathFunction);
        EXPECT_TRUE(path->hasCallStack);
    }
}

TEST_F(CDReaderTest, AfterCreateOnlyTheTocIsHeld)
{
    const Vantor::SP<ICDReader> reader = CDReader::Create(kDrive);
    EXPECT_EQ(reader->GetRefCount(), 1);
    EXPECT_EQ(fake.liveDevices(), 0);
    EXPECT_EQ(fake.openDevices(), 0);
    EXPECT_EQ(fake.liveTocs(), 1);
}

TEST_F(CDReaderTest, QueriesNeverTouchTheDrive)
{
    const Vantor::SP<ICDReader> reader = CDReader::Create(kDrive);
    fake.failOpen(CUEIFY_ERR_NO_DEVICE);
    fake.failTocRead(CUEIFY_ERR_INTERNAL);
    const size_t opens = fake.countCalls("cueify_device_open");
    EXPECT_EQ(reader->GetTrackCount(), 13u);
    EXPECT_EQ(reader->GetTrackDuration(7), 205000000);
    EXPECT_EQ(reader->GetDiskDuration(), 2412000000);
    EXPECT_EQ(fake.countCalls("cueify_device_open"), opens);
    EXPECT_FALSE(fake.wasCalled("cueify_device_read_raw"));
}

TEST_F(CDReaderTest, LastReleaseFreesTheToc)
{
    Vantor::SP<ICDReader> reader = CDReader::Create(kDrive);
    reader.reset();
    EXPECT_EQ(fake.liveTocs(), 0);
}

TEST_F(CDReaderTest, CreateOnADriveThatCannotBeOpenedFailsAndLeavesNothing)
{
    fake.failOpen(CUEIFY_ERR_NO_DEVICE);
    const auto failure = FailureOf<CDReaderException>([] { CDReader::Create(kDrive); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description,
              "Cannot open cueify device /dev/rdisk2. Cueify error: The device could not be opened.");
    EXPECT_EQ(failure->function, "void Vantor::Proc::CDReader::Open()");
    EXPECT_TRUE(failure->hasCallStack);
    EXPECT_TRUE(failure->hasLocation);
    EXPECT_EQ(fake.liveDevices(), 0);
    EXPECT_EQ(fake.liveTocs(), 0);
}

TEST_F(CDReaderTest, CreateOnAnUnreadableTocFailsAndLeavesNothing)
{
    fake.failTocRead(CUEIFY_ERR_CORRUPTED);
    const auto failure = FailureOf<CDReaderException>([] { CDReader::Create(kDrive); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description,
              "Cannot read TOC from device. Cueify error: The serialized data was corrupted.");
    EXPECT_EQ(failure->function, "void Vantor::Proc::CDReader::Open()");
    EXPECT_EQ(fake.liveDevices(), 0);
    EXPECT_EQ(fake.liveTocs(), 0);
}

TEST_F(CDReaderTest, IsCDPathAnswersWhetherTheTocCanBeRead)
{
    EXPECT_TRUE(CDReader::IsCDPath(kDrive));
    fake.failTocRead(CUEIFY_ERR_INTERNAL);
    EXPECT_FALSE(CDReader::IsCDPath(kDrive));
    fake.failOpen(CUEIFY_ERR_NO_DEVICE);
    EXPECT_FALSE(CDReader::IsCDPath(kDrive));
    EXPECT_EQ(fake.liveDevices(), 0);
    EXPECT_EQ(fake.liveTocs(), 0);
}

} // namespace
