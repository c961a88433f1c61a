// The plug-in, through the host's registry, on discs that fail: a drive that goes away, a process
// out of file descriptors.
#include "ScratchDirectory.h"
#include "host/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

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

// A virtual drive that the host has listed goes away, whole or its image only.
class VanishingDrive : public testing::TestWithParam<bool>
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
TEST_P(VanishingDrive, ItsTracksFailToOpenAnOpenTrackPlaysOnAndTheOtherDriveStillPlays)
{
    const std::string trackPath = host.readDisc(first.written.cueSheet)->GetTrackPath(2).utf8string();
    const fs::path keptCda = directory.path() / "kept.cda";
    fs::copy_file(first.written.cdaFiles.at(0), keptCda);
    ASSERT_TRUE(host.open(keptCda.string()));
    const SP<IParser> playing = host.open(trackPath);
    EXPECT_TRUE(isSector(playing->Read(), first.sector(2, 0), 0));

    if (GetParam())
        fs::remove_all(first.written.cueSheet.parent_path());
    for (const fs::path& file : first.written.dataFiles)
        fs::remove(file);
    fs::remove(first.written.cueSheet);

    EXPECT_EQ(FailedOpen<Vantor::Proc::ParserException>(host, keptCda.string()),
              "Cannot find cdrom source for the track.");
    EXPECT_NE(FailedOpen<Vantor::Proc::CDReaderException>(host, trackPath), "(opened)");
    EXPECT_TRUE(first.playsOn(*playing, 2, 1));
    const mkdisc::TrackLayout track = mkdisc::layoutOf(secondDescription).tracks.at(1);
    EXPECT_TRUE(isSector(host.open(second.cdaFiles.at(1).string())->Read(),
                         mkdisc::sectorAt(secondDescription, track.startLba), 0));
}

INSTANTIATE_TEST_SUITE_P(Removals, VanishingDrive, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "WholeDrive" : "ImageOnly";
                         });

// The number the next open() would return: every descriptor below it is taken.
rlim_t LowestFreeDescriptor()
{
    const int probe = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(probe);
    return static_cast<rlim_t>(probe);
}

// "" when the track opened and delivered its first sector, else the description of the failure.
std::string OpenAndReadFirstSector(const PluginHost& host, const std::string& trackPath, const TestDisc& disc)
{
    try {
        return isSector(host.open(trackPath)->Read(), disc.sector(1, 0), 0) ? "" : "a wrong first sector";
    } catch (const Vantor::Proc::CDReaderException& e) {
        return descriptionOf(e);
    }
}

// The process runs out of file descriptors while a track opens: the open fails with the
// disc-access error, or succeeds once enough descriptors are free, and never keeps one.
TEST(DescriptorExhaustion, OpenFailsWithTheDeviceErrorUntilDescriptorsAreFreeAndKeepsNone)
{
    constexpr int kMostDescriptorsAnOpenNeeds = 8;
    testsupport::ScratchDirectory directory;
    const TestDisc disc(directory.path(), mkdisc::DataFileFormat::Wave, true);
    const PluginHost host;
    const std::string trackPath = host.readDisc(disc.written.cueSheet)->GetTrackPath(1).utf8string();
    // An open and a failed open with descriptors to spare fill UndefinedBehaviorSanitizer's cache
    // of checked dynamic types first: its check of a type it has not seen probes memory through a pipe.
    ASSERT_EQ(OpenAndReadFirstSector(host, trackPath, disc), "");
    ASSERT_NE(OpenAndReadFirstSector(host, PluginHost::trackPath(directory.path() / "missing.cue", 1), disc),
              "");
    directory.write("malformed/bad.cue", "FILE\n");
    ASSERT_NE(
        OpenAndReadFirstSector(host, PluginHost::trackPath(directory.path() / "malformed/bad.cue", 1), disc),
        "");

    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
    bool opened = false;
    for (int spare = 0; spare <= kMostDescriptorsAnOpenNeeds && !opened; ++spare) {
        SCOPED_TRACE(std::to_string(spare) + " descriptors free");
        rlimit lowered = before;
        lowered.rlim_cur = LowestFreeDescriptor() + spare;
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
        const std::string outcome = OpenAndReadFirstSector(host, trackPath, disc);
        ::setrlimit(RLIMIT_NOFILE, &before);
        opened = outcome.empty();
        if (!opened)
            EXPECT_EQ(outcome, "Cannot open cueify device " + disc.written.cueSheet.string() +
                                   ". Cueify error: The device could not be opened.");
        EXPECT_TRUE(spare > 0 || !opened) << "opened without a free descriptor";
        EXPECT_EQ(disc.openDescriptors(), 0u);
    }
    EXPECT_TRUE(opened) << "the track did not open with " << kMostDescriptorsAnOpenNeeds
                        << " descriptors free";
}

} // namespace
} // namespace reliability
