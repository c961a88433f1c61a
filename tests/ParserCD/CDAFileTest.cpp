// .cda track files as the parser's open reads them: validation, and the search for the drive
// whose first .cda file carries the same serial number.
#include "FakeTrack.h"
#include "OpenFixture.h"

#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Core/Interfaces/ioPath.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace openfixture;
using Vantor::SP;
using Vantor::Conf::IFormatFile;
using Vantor::Proc::IParser;

constexpr uint32_t SERIAL = 0x2f4e61a3;
constexpr uint32_t OTHER_SERIAL = 0x2f4e61a4;

// The device names the open passed to cueify_device_open, in call order.
std::vector<std::string> OpenedDevices()
{
    std::vector<std::string> names;
    for (const fake::Call& call : fake::FakeCueify::instance().calls())
        if (call.function == "cueify_device_open")
            names.push_back(call.text);
    return names;
}

// The directory's entries in the order the host's listing yields them.
std::vector<fs::path> ListingOrder(const fs::path& directory)
{
    std::vector<fs::path> entries;
    for (Vantor::ioPath::iterator entry{Vantor::ioPath(directory.string())}, end; entry != end; ++entry)
        entries.emplace_back(entry->utf8string());
    return entries;
}

class CDAFileOpen : public faketrack::FakeDiscTest
{
protected:
    void SetUp() override
    {
        FakeDiscTest::SetUp();
        disc.setDisc(faketrack::AudioDisc(0, {750, 750, 750, 750, 750}));
        input = (scratch.path() / "Track05.cda").string();
    }

    // A directory that stands for a drive, holding one .cda file of the disc it names.
    std::string Drive(const std::string& name, uint32_t serial)
    {
        const fs::path directory = MakeDirectory(scratch.path(), name);
        WriteFile(directory / "Track01.cda", CdaBytes(1, serial));
        return directory.string();
    }

    ScratchDirectory scratch;
    std::string input;
    SP<RecordingTracker> tracker{new RecordingTracker};
};

TEST_F(CDAFileOpen, ValidFileOpensItsTrackOnTheDriveHoldingTheSameDisc)
{
    WriteFile(input, CdaBytes(5, SERIAL));
    const std::string drive = Drive("drive", SERIAL);
    disc.setDevices({drive});

    const SP<IParser> parser = Open(input, tracker);

    EXPECT_EQ(parser->GetFormatFile()->GetProperty().FindChild(IFormatFile::TAG_TRACK)->GetString(), "5");
    EXPECT_EQ(parser->GetDuration(), 10000000);
    EXPECT_EQ(OpenedDevices(), (std::vector<std::string>{drive, drive})); // the probe, then the track's drive
    EXPECT_EQ(faketrack::ReadAddresses(), std::vector<uint32_t>{0});
    EXPECT_TRUE(tracker->reports.empty());
}

struct BrokenFile
{
    std::string name;
    size_t offset;              // where the bytes go
    std::vector<uint8_t> bytes; // written over the valid file
    size_t size = 44;           // the file is cut to this size
};

void PrintTo(const BrokenFile& value, std::ostream* out)
{
    *out << value.name;
}

class CDAFileInvalid : public CDAFileOpen, public testing::WithParamInterface<BrokenFile>
{
};

TEST_P(CDAFileInvalid, IsReportedThenRefusedBeforeAnyDriveIsSearched)
{
    std::vector<uint8_t> bytes = CdaBytes(5, SERIAL);
    std::copy(GetParam().bytes.begin(), GetParam().bytes.end(), bytes.begin() + GetParam().offset);
    bytes.resize(GetParam().size);
    WriteFile(input, bytes);
    disc.setDevices({Drive("drive", SERIAL)});

    EXPECT_EQ(OpenFailure(input, tracker), OpenInputFailure("Invalid cda structure.", input));
    EXPECT_EQ(tracker->reports,
              std::vector<Report>{FileOpenReport("Invalid cda structure in file: " + input)});
    EXPECT_TRUE(disc.calls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CDAFileInvalid,
    testing::Values(BrokenFile{"LowerCaseRiff", 0, {'r', 'i', 'f', 'f'}}, BrokenFile{"NulInRiff", 3, {0}},
                    BrokenFile{"RiffSize38", 4, {38}}, BrokenFile{"FormTypeCDDB", 8, {'C', 'D', 'D', 'B'}},
                    BrokenFile{"ChunkFmtWithoutSpace", 12, {'f', 'm', 't', 0}},
                    BrokenFile{"ChunkSize26", 16, {26}}, BrokenFile{"Version2", 20, {2}},
                    BrokenFile{"Version0", 20, {0}}, BrokenFile{"EndsInsideChunkSize", 0, {}, 18},
                    BrokenFile{"EndsBeforeVersion", 0, {}, 20}, BrokenFile{"Empty", 0, {}, 0}),
    [](const testing::TestParamInfo<BrokenFile>& info) { return info.param.name; });

TEST_F(CDAFileOpen, InvalidFileIsRefusedWithoutReportWhenThereIsNoTracker)
{
    WriteFile(input, {'R', 'I', 'F', 'F'});
    EXPECT_EQ(OpenFailure(input), OpenInputFailure("Invalid cda structure.", input));
}

TEST_F(CDAFileOpen, FileEndingAfterTheVersionPassesAsTrackZeroOfSerialZero)
{
    std::vector<uint8_t> bytes = CdaBytes(5, SERIAL);
    bytes.resize(22);
    WriteFile(input, bytes);
    disc.setDevices({Drive("other", SERIAL), Drive("zero", 0)});

    // Track 0 is on no disc: its start address reads 00:00:00.
    EXPECT_EQ(OpenFailure(input, tracker), (Failure{"ParserException", "Invalid track address", std::nullopt,
                                                    std::nullopt, OPEN_FUNCTION}));
    EXPECT_EQ(OpenedDevices().back(), (scratch.path() / "zero").string());
    EXPECT_TRUE(tracker->reports.empty());
    ExpectEverythingFreed();
}

TEST_F(CDAFileOpen, MissingFileFailsWithTheFileInputsErrorUnchanged)
{
    try {
        Open(input, tracker);
        ADD_FAILURE() << "opened";
    } catch (const Vantor::Exception& caught) {
        const Failure failure = FailureOf(caught);
        EXPECT_EQ(failure.kind, "Exception");
        EXPECT_NE(failure.function, OPEN_FUNCTION);
    }
    EXPECT_TRUE(tracker->reports.empty());
}

TEST_F(CDAFileOpen, NoDriveHoldingTheDiscFailsWithoutReport)
{
    WriteFile(input, CdaBytes(5, SERIAL));
    disc.setDevices({Drive("a", OTHER_SERIAL), Drive("b", OTHER_SERIAL)});

    EXPECT_EQ(OpenFailure(input, tracker),
              OpenInputFailure("Cannot find cdrom source for the track.", input));
    EXPECT_TRUE(OpenedDevices().empty());
    EXPECT_TRUE(tracker->reports.empty());
    ExpectEverythingFreed();
}

TEST_F(CDAFileOpen, NoDriveAtAllFailsTheSameWay)
{
    WriteFile(input, CdaBytes(5, SERIAL));
    EXPECT_EQ(OpenFailure(input, tracker),
              OpenInputFailure("Cannot find cdrom source for the track.", input));
}

TEST_F(CDAFileOpen, OnlyTheFirstCdaFileInListingOrderOfADriveIsCompared)
{
    WriteFile(input, CdaBytes(5, SERIAL));
    const fs::path twoFiles = MakeDirectory(scratch.path(), "two");
    WriteFile(twoFiles / "Track01.cda", CdaBytes(1, SERIAL));
    WriteFile(twoFiles / "Track02.cda", CdaBytes(2, SERIAL));
    const std::vector<fs::path> listed = ListingOrder(twoFiles);
    ASSERT_EQ(listed.size(), 2u);
    WriteFile(listed[0], CdaBytes(1, OTHER_SERIAL)); // the listing order follows names, not contents
    const std::string matching = Drive("matching", SERIAL);
    disc.setDevices({twoFiles.string(), matching});

    Open(input, tracker);

    EXPECT_EQ(OpenedDevices(), (std::vector<std::string>{matching, matching}));
}

TEST_F(CDAFileOpen, MatchingDriveWhoseFirstSectorCannotBeReadIsPassedOver)
{
    WriteFile(input, CdaBytes(5, SERIAL));
    const std::string unreadable = Drive("unreadable", SERIAL);
    const std::string readable = Drive("readable", SERIAL);
    disc.failReadAt(unreadable, 0, CUEIFY_ERR_INTERNAL);
    disc.setDevices({unreadable, readable});

    const SP<IParser> parser = Open(input, tracker);

    EXPECT_EQ(OpenedDevices(), (std::vector<std::string>{unreadable, readable, readable}));
    EXPECT_EQ(disc.openDevices(), 1); // the probe released the unreadable drive
}

TEST_F(CDAFileOpen, MatchingDriveThatCannotBeOpenedIsPassedOver)
{
    WriteFile(input, CdaBytes(5, SERIAL));
    const std::string closed = Drive("closed", SERIAL);
    const std::string open = Drive("open", SERIAL);
    disc.failOpen(closed, CUEIFY_ERR_NO_DEVICE);
    disc.setDevices({closed, open});

    Open(input, tracker);

    EXPECT_EQ(OpenedDevices(), (std::vector<std::string>{closed, open, open}));
    EXPECT_TRUE(tracker->reports.empty());
}

TEST_F(CDAFileOpen, NamesThatAreNoDirectoryWithACdaFileArePassedOver)
{
    WriteFile(input, CdaBytes(5, SERIAL));
    const fs::path plainFile = scratch.path() / "plain";
    WriteFile(plainFile, CdaBytes(1, SERIAL));
    const fs::path noCda = MakeDirectory(scratch.path(), "nocda");
    WriteFile(noCda / "Track01.wav", CdaBytes(1, SERIAL));
    MakeDirectory(scratch.path(), "nocda/Track02.cda"); // a directory, not a file
    const fs::path capitals = MakeDirectory(scratch.path(), "capitals");
    WriteFile(capitals / "TRACK01.CDA", CdaBytes(1, SERIAL));
    disc.setDevices({std::nullopt, std::string(), (scratch.path() / "missing").string(), plainFile.string(),
                     noCda.string(), capitals.string()});

    Open(input, tracker);

    EXPECT_EQ(OpenedDevices(), (std::vector<std::string>{capitals.string(), capitals.string()}));
}

TEST_F(CDAFileOpen, FailedSearchLeavesNoHandleBehind)
{
    WriteFile(input, CdaBytes(5, SERIAL));
    const std::string unreadable = Drive("unreadable", SERIAL);
    disc.failReadAt(unreadable, 0, CUEIFY_ERR_INTERNAL);
    disc.setDevices({unreadable});

    EXPECT_EQ(OpenFailure(input, tracker),
              OpenInputFailure("Cannot find cdrom source for the track.", input));
    EXPECT_EQ(tracker->GetRefCount(), 1);
    ExpectEverythingFreed();
}

} // namespace
