// The plug-in, through the host's registry, on a disc whose drive goes away.
#include "ScratchDirectory.h"
#include "host/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace reliability {
namespace {

namespace fs = std::filesystem;
using Vantor::SP;
using Vantor::Proc::IParser;

// The description of the failure of opening path, of the class Failure, or what else happened.
template <typename Failure> std::string FailedOpen(const PluginHost& host, const std::string& path)
{
    try {
        host.open(path);
        return "(opened)";
    } catch (const Failure& e) {
        return descriptionOf(e);
    }
}

// A virtual drive that the host has listed goes away, image and all.
class VanishingDrive : public testing::Test
{
protected:
    void SetUp() override
    {
        const std::string drives =
            (directory.path() / "drive-a").string() + ":" + (directory.path() / "drive-b").string();
        ::setenv("CUEIFY_VIRTUAL_DRIVES", drives.c_str(), 1);
    }
    void TearDown() override { ::unsetenv("CUEIFY_VIRTUAL_DRIVES"); }

    testsupport::ScratchDirectory directory;
    const TestDisc first{directory.path() / "drive-a", mkdisc::DataFileFormat::Binary, false};
    const mkdisc::DiscDescription secondDescription =
        testsupport::discOfTrackWords("audio:80 audio:80", "other");
    const mkdisc::WrittenDisc second = mkdisc::writeDisc(secondDescription, directory.path() / "drive-b");
    const PluginHost host;
};

// Its .cda files and track paths fail to open with the parser's own errors, a parser opened before
// holds its data file open and plays the whole track from it, and the other drive still plays.
TEST_F(VanishingDrive, ItsTracksFailToOpenAnOpenTrackPlaysOnAndTheOtherDriveStillPlays)
{
    const std::string trackPath = host.readDisc(first.written.cueSheet)->GetTrackPath(2).utf8string();
    const fs::path keptCda = directory.path() / "kept.cda";
    fs::copy_file(first.written.cdaFiles.at(0), keptCda);
    ASSERT_TRUE(host.open(keptCda.string()));
    const SP<IParser> playing = host.open(trackPath);
    EXPECT_TRUE(isSector(playing->Read(), first.sector(2, 0), 0));

    fs::remove_all(first.written.cueSheet.parent_path());

    EXPECT_EQ(FailedOpen<Vantor::Proc::ParserException>(host, keptCda.string()),
              "Cannot find cdrom source for the track.");
    EXPECT_NE(FailedOpen<Vantor::Proc::CDReaderException>(host, trackPath), "(opened)");
    EXPECT_TRUE(first.playsOn(*playing, 2, 1));
    const mkdisc::TrackLayout track = mkdisc::layoutOf(secondDescription).tracks.at(1);
    EXPECT_TRUE(isSector(host.open(second.cdaFiles.at(1).string())->Read(),
                         mkdisc::sectorAt(secondDescription, track.startLba), 0));
}

} // namespace
} // namespace reliability
