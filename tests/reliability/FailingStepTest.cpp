// Every step of creating a reader or a parser fails in turn, on the in-memory cueify fake: each
// failure is an exception, and it leaves no device, no TOC and no parser alive.
#include "cueify_fake/FakeCueify.h"

#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/ICoreTracker.h"
#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

#include "ScratchDirectory.h"
#include "mkdisc/CdaFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>

namespace reliability {
namespace {

using Vantor::SP;

constexpr const char* kDrive = "/dev/rdisk7";
constexpr uint32_t kSerial = 0x00C0FFEE;
constexpr uint32_t kSecondTrackLba = 42 * 75 - 150;
constexpr uint32_t kDataTrackLba = 2 * 4500 - 150;

std::string trackPath(unsigned track)
{
    using Vantor::Proc::ICDReader;
    return ICDReader::CD_PATH_PREFIX + kDrive + ICDReader::CD_TRACK_PREFIX + std::to_string(track) + ".cda";
}

class CountedTracker final : public Vantor::RefCounted<Vantor::Proc::ICoreTracker>
{
public:
    void ReportException(const std::string&, const std::string&, const std::string&) override {}
};

// Two audio tracks, then a data track in mode 0 that opens like an audio track.
fake::FakeDisc disc()
{
    fake::FakeDisc result;
    result.sessions = {{1, 1, 3, CUEIFY_SESSION_MODE_1, {3, 0, 0}}};
    result.tracks = {{1, 1, 0, 1, {0, 2, 0}, {0, 40, 0}},
                     {2, 1, 0, 1, {0, 42, 0}, {1, 18, 0}},
                     {3, 1, CUEIFY_TOC_TRACK_IS_DATA, 1, {2, 0, 0}, {1, 0, 0}}};
    return result;
}

enum class Input
{
    AudioTrackPath,
    DataTrackPath,
    CdaFile
};

struct StepFailure
{
    const char* name;
    Input input;
    std::function<void(fake::FakeCueify&)> inject;
};

void PrintTo(const StepFailure& value, std::ostream* out)
{
    *out << value.name;
}

class FakeMachine : public testing::Test
{
protected:
    void SetUp() override
    {
        cueify.reset();
        cueify.setDisc(disc());
        std::filesystem::create_directories(directory.path() / "drive");
        mkdisc::writeCdaFile(directory.path() / "drive", {1, kSerial, 0, 3000});
        cueify.setDevices({(directory.path() / "drive").string()});
        const auto bytes = mkdisc::encodeCdaFile({2, kSerial, 3000, 5850});
        std::ofstream(directory.path() / "Track02.cda", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    void TearDown() override { cueify.reset(); }

    std::string inputPath(Input input) const
    {
        switch (input) {
        case Input::AudioTrackPath:
            return trackPath(2);
        case Input::DataTrackPath:
            return trackPath(3);
        case Input::CdaFile:
            break;
        }
        return (directory.path() / "Track02.cda").string();
    }

    void expectNothingAlive(const CountedTracker& tracker) const
    {
        EXPECT_EQ(cueify.liveDevices(), 0);
        EXPECT_EQ(cueify.openDevices(), 0);
        EXPECT_EQ(cueify.liveTocs(), 0);
        EXPECT_TRUE(cueify.misuses().empty());
        EXPECT_EQ(tracker.GetRefCount(), 1) << "a parser still holds the tracker";
    }

    fake::FakeCueify& cueify = fake::FakeCueify::instance();
    testsupport::ScratchDirectory directory;
};

class FailingStep : public FakeMachine, public testing::WithParamInterface<StepFailure>
{
};

TEST_P(FailingStep, ParserCreateThrowsAndLeavesNothingAlive)
{
    const SP<CountedTracker> tracker(new CountedTracker);
    const SP<Vantor::Core::IDataInput> input =
        Vantor::Core::DataInputPath::Create(Vantor::ioPath(inputPath(GetParam().input)));
    EXPECT_NO_THROW(Vantor::Proc::ParserCD::Create(input, {}, tracker));
    ASSERT_NO_FATAL_FAILURE(expectNothingAlive(*tracker));

    GetParam().inject(cueify);

    EXPECT_THROW(Vantor::Proc::ParserCD::Create(input, {}, tracker), Vantor::Exception);
    expectNothingAlive(*tracker);
}

void failNew(fake::FakeCueify& cueify)
{
    cueify.failNew();
}
void failTocNew(fake::FakeCueify& cueify)
{
    cueify.failTocNew();
}
void failOpen(fake::FakeCueify& cueify)
{
    cueify.failOpen(CUEIFY_ERR_NO_DEVICE);
}
void failTocRead(fake::FakeCueify& cueify)
{
    cueify.failTocRead(CUEIFY_ERR_INTERNAL);
}
void failFirstSector(fake::FakeCueify& cueify)
{
    cueify.failReadAt(0, CUEIFY_ERR_INTERNAL);
}
void failDataTrackStart(fake::FakeCueify& cueify)
{
    cueify.failReadAt(kDataTrackLba, CUEIFY_ERR_INTERNAL);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailingStep,
    testing::Values(StepFailure{"TrackPathDeviceNew", Input::AudioTrackPath, failNew},
                    StepFailure{"TrackPathTocNew", Input::AudioTrackPath, failTocNew},
                    StepFailure{"TrackPathOpen", Input::AudioTrackPath, failOpen},
                    StepFailure{"TrackPathTocRead", Input::AudioTrackPath, failTocRead},
                    StepFailure{"DataTrackModeRead", Input::DataTrackPath, failDataTrackStart},
                    StepFailure{"CdaFileDeviceNew", Input::CdaFile, failNew},
                    StepFailure{"CdaFileTocNew", Input::CdaFile, failTocNew},
                    StepFailure{"CdaFileOpen", Input::CdaFile, failOpen},
                    StepFailure{"CdaFileTocRead", Input::CdaFile, failTocRead},
                    StepFailure{"CdaFileDriveSearchRead", Input::CdaFile, failFirstSector}),
    [](const testing::TestParamInfo<StepFailure>& info) { return info.param.name; });

class FailingReaderStep : public FailingStep
{
};

TEST_P(FailingReaderStep, ReaderCreateThrowsAndLeavesNoHandle)
{
    EXPECT_NO_THROW(Vantor::Proc::CDReader::Create(Vantor::ioPath(kDrive)));
    GetParam().inject(cueify);

    EXPECT_THROW(Vantor::Proc::CDReader::Create(Vantor::ioPath(kDrive)), Vantor::Exception);
    EXPECT_EQ(cueify.liveDevices(), 0);
    EXPECT_EQ(cueify.liveTocs(), 0);
    EXPECT_TRUE(cueify.misuses().empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingReaderStep,
                         testing::Values(StepFailure{"DeviceNew", Input::AudioTrackPath, failNew},
                                         StepFailure{"TocNew", Input::AudioTrackPath, failTocNew},
                                         StepFailure{"Open", Input::AudioTrackPath, failOpen},
                                         StepFailure{"TocRead", Input::AudioTrackPath, failTocRead}),
                         [](const testing::TestParamInfo<StepFailure>& info) { return info.param.name; });

TEST_F(FakeMachine, ParserWhoseReadsFailReleasesEverything)
{
    const SP<CountedTracker> tracker(new CountedTracker);
    {
        const SP<Vantor::Proc::IParser> parser = Vantor::Proc::ParserCD::Create(
            Vantor::Core::DataInputPath::Create(Vantor::ioPath(inputPath(Input::AudioTrackPath))), {},
            tracker);
        cueify.failReadAt(kSecondTrackLba + 1, CUEIFY_ERR_INTERNAL);
        EXPECT_TRUE(parser->Read());
        EXPECT_FALSE(parser->Read());
        EXPECT_FALSE(parser->Read());
    }
    expectNothingAlive(*tracker);
}

} // namespace
} // namespace reliability
