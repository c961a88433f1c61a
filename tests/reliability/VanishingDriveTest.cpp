// A virtual drive that the host has listed goes away before a track of it is opened: its track
// paths and .cda files fail to open with the parser's own errors, a track already open plays on
// from the data file it holds, and the other drive still plays.
#include "ScratchDirectory.h"
#include "TrackWords.h"
#include "host/PluginHost.h"
#include "host/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

namespace reliability {
namespace {

namespace fs = std::filesystem;
using Vantor::SP;

template <typename Exception>
std::string descriptionOfFailedOpen(const PluginHost& host, const std::string& path)
{
    try {
        host.open(path);
    } catch (const Exception& e) {
        return descriptionOf(e);
    }
    return "(opened)";
}

enum class Removal
{
    WholeDrive,
    ImageOnly
};

struct RemovalCase
{
    const char* name;
    Removal removal;
};

void PrintTo(const RemovalCase& value, std::ostream* out)
{
    *out << value.name;
}

class VanishingDrive : public testing::TestWithParam<RemovalCase>
{
protected:
    void SetUp() override
    {
        const std::string drives =
            (directory.path() / "drive-a").string() + ":" + (directory.path() / "drive-b").string();
        ::setenv("CUEIFY_VIRTUAL_DRIVES", drives.c_str(), 1);
    }
    void TearDown() override { ::unsetenv("CUEIFY_VIRTUAL_DRIVES"); }

    void removeFirstDrive()
    {
        if (GetParam().removal == Removal::WholeDrive) {
            fs::remove_all(first.written.cueSheet.parent_path());
            return;
        }
        fs::remove(first.written.cueSheet);
        for (const fs::path& file : first.written.dataFiles)
            fs::remove(file);
    }

    testsupport::ScratchDirectory directory;
    const TestDisc first{directory.path() / "drive-a", mkdisc::DataFileFormat::Binary, false};
    const mkdisc::DiscDescription secondDescription =
        testsupport::discOfTrackWords("audio:80 audio:80", "other");
    const mkdisc::WrittenDisc second = mkdisc::writeDisc(secondDescription, directory.path() / "drive-b");
    const PluginHost host;
};

// A parser opened before holds its data file open and plays the whole track from it.
TEST_P(VanishingDrive, ItsTrackFilesAreNotFoundItsTrackPathsFailToOpenAndAnOpenTrackPlaysOn)
{
    const std::string trackPath = host.readDisc(first.written.cueSheet)->GetTrackPath(2).utf8string();
    const fs::path keptCda = directory.path() / "kept.cda";
    fs::copy_file(first.written.cdaFiles.at(0), keptCda);
    ASSERT_TRUE(host.open(keptCda.string()));
    const SP<Vantor::Proc::IParser> playing = host.open(trackPath);
    EXPECT_TRUE(isSector(playing->Read(), first.sector(2, 0), 0));

    removeFirstDrive();

    EXPECT_EQ(descriptionOfFailedOpen<Vantor::Proc::ParserException>(host, keptCda.string()),
              "Cannot find cdrom source for the track.");
    EXPECT_NE(descriptionOfFailedOpen<Vantor::Proc::CDReaderException>(host, trackPath), "(opened)");
    uint32_t k = 1;
    for (SP<Vantor::Proc::IDataPacket> packet = playing->Read(); packet; packet = playing->Read(), ++k)
        ASSERT_TRUE(isSector(packet, first.sector(2, k), k)) << "sector " << k;
    EXPECT_EQ(k, first.track(2).lengthSectors);
}

TEST_P(VanishingDrive, TheOtherDriveStillPlays)
{
    removeFirstDrive();

    const SP<Vantor::Proc::IParser> parser = host.open(second.cdaFiles.at(1).string());

    const mkdisc::TrackLayout track = mkdisc::layoutOf(secondDescription).tracks.at(1);
    EXPECT_TRUE(isSector(parser->Read(), mkdisc::sectorAt(secondDescription, track.startLba), 0));
}

INSTANTIATE_TEST_SUITE_P(Removals, VanishingDrive,
                         testing::Values(RemovalCase{"WholeDrive", Removal::WholeDrive},
                                         RemovalCase{"ImageOnly", Removal::ImageOnly}),
                         [](const testing::TestParamInfo<RemovalCase>& info) { return info.param.name; });

} // namespace
} // namespace reliability
