// The plug-in, through the host's registry, on discs that fail: a read that fails in the middle of
// a track as a scratch does, a drive that goes away, a process out of file descriptors.
#include "LogCapture.h"
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

struct FaultCase
{
    const char* name;
    mkdisc::DataFileFormat format;
    bool filePerTrack;
    uint32_t faultySector; // of track 2, which has 300 sectors
};

void PrintTo(const FaultCase& value, std::ostream* out)
{
    *out << value.name;
}

class ReadFaultTest : public testing::TestWithParam<FaultCase>
{
protected:
    // The pread interposer linked into this program reads these on every call: reads of the file
    // that reach the offset fail with EIO until they are cleared.
    void TearDown() override
    {
        ::unsetenv("FAULTY_READ_FILE");
        ::unsetenv("FAULTY_READ_OFFSET");
    }

    testsupport::ScratchDirectory directory;
    const FaultCase& fault = GetParam();
    const TestDisc disc{directory.path(), fault.format, fault.filePerTrack};
    const PluginHost host;
};

// The fault is there from the start, as a scratch is: while a track plays in order the library
// reads ahead in large blocks, and a sector read before the fault appeared stays readable, as in a
// drive's cache. The stored sectors of a file follow its header; a file per track starts with that
// track's pregap.
TEST_P(ReadFaultTest, FailedSectorGivesNoPacketAndAnErrorLineThenTheTrackPlaysOnFromItOnceTheFaultIsLifted)
{
    const uint32_t pregap = disc.description.sessions.at(0).tracks.at(1).storedPregapSectors;
    const uint64_t fileSector = fault.faultySector + (fault.filePerTrack ? pregap : disc.track(2).startLba);
    const uint64_t header = fault.format == mkdisc::DataFileFormat::Wave ? 44 : 0;
    ::setenv("FAULTY_READ_FILE", disc.written.dataFiles.at(fault.filePerTrack ? 1 : 0).c_str(), 1);
    ::setenv("FAULTY_READ_OFFSET", std::to_string(header + fileSector * mkdisc::kRawSectorBytes).c_str(), 1);
    const SP<IParser> parser = host.open(host.readDisc(disc.written.cueSheet)->GetTrackPath(2).utf8string());
    for (uint32_t k = 0; k < fault.faultySector; ++k)
        EXPECT_TRUE(isSector(parser->Read(), disc.sector(2, k), k)) << "sector " << k;
    const support::LogCapture log;

    EXPECT_FALSE(parser->Read());
    EXPECT_FALSE(parser->Read());
    EXPECT_EQ(log.messages(google::GLOG_ERROR), std::vector<std::string>(2, "An internal error occured."));
    TearDown();
    EXPECT_TRUE(disc.playsOn(*parser, 2, fault.faultySector));
    EXPECT_EQ(log.lines().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Images, ReadFaultTest,
    testing::Values(FaultCase{"FirstSectorOfBinaryImage", mkdisc::DataFileFormat::Binary, false, 0},
                    FaultCase{"MiddleOfBinaryImage", mkdisc::DataFileFormat::Binary, false, 150},
                    FaultCase{"LastSectorOfBinaryImage", mkdisc::DataFileFormat::Binary, false, 299},
                    FaultCase{"MiddleOfWaveFilePerTrack", mkdisc::DataFileFormat::Wave, true, 150}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

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
