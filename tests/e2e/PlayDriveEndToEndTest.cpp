// A host's whole path through the plug-in on emulated drives, against the same discs written as
// images: the reader lists the same tracks and durations, and every audio track plays the same bytes.
#include "EmulatedDrives.h"
#include "ScratchDirectory.h"
#include "host/PluginHost.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Vantor::SP;
using Vantor::Proc::ICDReader;
using Vantor::Proc::IDataPacket;

struct Drive
{
    const char* name;
    const char* path;
    const char* behaviour;
    const char* tracks;
};

const Drive kDrives[] = {
    {"TwoSessions", "/dev/sr1", "", "audio:200 audio:150,flags=pre / mode1:100"},
    {"HiddenFirstTrack", "/dev/sr2", "", "audio:120,pregap=45 audio:80,flags=dcp audio:60"},
    {"FullTocRefused", "/dev/sr3", "no-full-toc", "audio:200 audio:150,flags=pre / mode1:100"},
    {"FullTocInBcd", "/dev/sr4", "bcd-toc", "audio:120,pregap=45 audio:80,flags=dcp audio:60"},
    {"DataFirstSlowBecomingReadyWithMediumErrors", "/dev/sr5", "ready-after=3 medium-error=100x2 delay-us=50",
     "mode1:50 audio:100 audio:70"},
};

void PrintTo(const Drive& drive, std::ostream* out)
{
    *out << drive.path << " " << drive.behaviour << " " << drive.tracks;
}

// The track as a host reads it. Read gives null at the end and after a sector that failed, which the
// next Read tries again: the host tells them apart by the track's length, and gives up on a sector
// after a few attempts.
std::string PlayedBytes(const reliability::PluginHost& host, const Vantor::ioPath& track, size_t length)
{
    std::string bytes;
    const SP<Vantor::Proc::IParser> parser = host.open(track.utf8string());
    for (int failures = 0; bytes.size() < length && failures < 4;) {
        const SP<IDataPacket> packet = parser->Read();
        failures = packet ? 0 : failures + 1;
        if (packet)
            bytes.append(reinterpret_cast<const char*>(packet->GetData()), packet->GetSize());
    }
    return bytes;
}

class PlayDriveEndToEnd : public testing::TestWithParam<Drive>
{
protected:
    testsupport::ScratchDirectory directory;
    const mkdisc::DiscDescription disc = testsupport::discOfTrackWords(GetParam().tracks);
    const std::filesystem::path cueSheet = mkdisc::writeDisc(disc, directory.path()).cueSheet;
    const reliability::PluginHost host;
};

TEST_P(PlayDriveEndToEnd, ReaderAndEveryAudioTrackMatchTheImage)
{
    const std::string drive = GetParam().path;
    const SP<ICDReader> fromDrive = host.readDisc(drive);
    const SP<ICDReader> fromImage = host.readDisc(cueSheet);
    ASSERT_EQ(fromDrive->GetTrackCount(), fromImage->GetTrackCount());
    EXPECT_EQ(fromDrive->GetDiskDuration(), fromImage->GetDiskDuration());
    for (const mkdisc::TrackLayout& track : mkdisc::layoutOf(disc).tracks) {
        SCOPED_TRACE("track " + std::to_string(track.number));
        EXPECT_EQ(fromDrive->GetTrackDuration(track.number), fromImage->GetTrackDuration(track.number));
        EXPECT_EQ(fromDrive->GetTrackPath(track.number).utf8string(),
                  "cdda://" + drive + "#track" + std::to_string(track.number) + ".cda");
        if (!track.audio)
            continue;
        const size_t length = size_t{track.lengthSectors} * mkdisc::kRawSectorBytes;
        const std::string played = PlayedBytes(host, fromDrive->GetTrackPath(track.number), length);
        EXPECT_EQ(played.size(), length);
        EXPECT_TRUE(played == PlayedBytes(host, fromImage->GetTrackPath(track.number), length));
    }
}

INSTANTIATE_TEST_SUITE_P(EmulatedDrives, PlayDriveEndToEnd, testing::ValuesIn(kDrives),
                         [](const testing::TestParamInfo<Drive>& info) { return info.param.name; });

} // namespace

int main(int argc, char** argv)
{
    std::string drives;
    for (const Drive& drive : kDrives)
        drives += std::string(drive.path) + " " + drive.behaviour + " " + drive.tracks + ";";
    testsupport::runWithEmulatedDrives(argv, drives);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
