// The disc reader over disc images written at run time, read by the real disc-access library.
#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"

#include "LogCapture.h"
#include "ScratchDirectory.h"
#include "ThrownFailure.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <mkdisc/DiscWriter.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Vantor::Proc::CDReader;
using Vantor::Proc::CDReaderException;
using Vantor::Proc::ICDReader;

mkdisc::TrackSpec AudioTrack(uint32_t sectors)
{
    mkdisc::TrackSpec track;
    track.sectors = sectors;
    return track;
}

mkdisc::TrackSpec DataTrack(uint32_t sectors)
{
    mkdisc::TrackSpec track;
    track.mode = mkdisc::TrackMode::Mode1Raw;
    track.sectors = sectors;
    return track;
}

// Three audio tracks of 10 s, 15.4 s and 30 s: the lead-out lies at 57 s 0 frames (150 + 4125 sectors).
mkdisc::DiscSpec AudioDisc()
{
    mkdisc::DiscSpec spec;
    spec.name = "album";
    spec.sessions = {{{AudioTrack(750), AudioTrack(1155), AudioTrack(2250)}}};
    return spec;
}

class CDReaderImage : public testing::Test
{
protected:
    std::filesystem::path Write(const mkdisc::DiscSpec& spec)
    {
        return mkdisc::writeDisc(spec, scratch.path() / "drive").cueSheet;
    }

    static std::string TrackPath(const std::string& drive, int track)
    {
        return ICDReader::CD_PATH_PREFIX + drive + ICDReader::CD_TRACK_PREFIX + std::to_string(track) +
               ".cda";
    }

    testsupport::ScratchDirectory scratch;
    support::LogCapture log;
};

TEST_F(CDReaderImage, CueSheetListsTracksDurationsAndPaths)
{
    const std::string cueSheet = Write(AudioDisc()).string();
    const Vantor::SP<ICDReader> reader = CDReader::Create(cueSheet);
    ASSERT_EQ(reader->GetTrackCount(), 3u);
    EXPECT_EQ(reader->GetDiskDuration(), 57000000);
    EXPECT_EQ(reader->GetTrackDuration(1), 10000000);
    EXPECT_EQ(reader->GetTrackDuration(2), 15000000);
    EXPECT_EQ(reader->GetTrackDuration(3), 30000000);
    EXPECT_EQ(reader->GetTrackPath(1).utf8string(), TrackPath(cueSheet, 1));
    EXPECT_EQ(reader->GetTrackPath(3).utf8string(), TrackPath(cueSheet, 3));
    EXPECT_EQ(log.messages(google::GLOG_INFO),
              std::vector<std::string>{"Path " + cueSheet + " is on the drive " + cueSheet});
}

TEST_F(CDReaderImage, VirtualDriveDirectoryIsTheDrive)
{
    Write(AudioDisc());
    const std::string drive = (scratch.path() / "drive").string();
    const Vantor::SP<ICDReader> reader = CDReader::Create(drive);
    EXPECT_EQ(reader->GetTrackCount(), 3u);
    EXPECT_EQ(reader->GetTrackPath(2).utf8string(), TrackPath(drive, 2));
}

TEST_F(CDReaderImage, LastSessionsLastTrackIsTheCount)
{
    mkdisc::DiscSpec spec = AudioDisc();
    spec.sessions.push_back({{DataTrack(600)}});
    const Vantor::SP<ICDReader> reader = CDReader::Create(Write(spec).string());
    EXPECT_EQ(reader->GetTrackCount(), 4u);
    EXPECT_EQ(reader->GetTrackDuration(4), 8000000);
    // Second session: 11,400 sectors after the first lead-out at 4,275, then 600 sectors.
    EXPECT_EQ(reader->GetDiskDuration(), (4275 + 11400 + 600) / 75 * 1000000);
}

TEST_F(CDReaderImage, ReaderKeepsWorkingWithoutTheImage)
{
    const std::string cueSheet = Write(AudioDisc()).string();
    const Vantor::SP<ICDReader> reader = CDReader::Create(cueSheet);
    std::filesystem::remove_all(scratch.path() / "drive");
    EXPECT_EQ(reader->GetTrackCount(), 3u);
    EXPECT_EQ(reader->GetTrackDuration(2), 15000000);
    EXPECT_EQ(reader->GetTrackPath(2).utf8string(), TrackPath(cueSheet, 2));
    EXPECT_FALSE(CDReader::IsCDPath(cueSheet));
}

TEST_F(CDReaderImage, IsCDPathKnowsImagesAndTheirDrives)
{
    const std::filesystem::path cueSheet = Write(AudioDisc());
    EXPECT_TRUE(CDReader::IsCDPath(cueSheet.string()));
    EXPECT_TRUE(CDReader::IsCDPath(cueSheet.parent_path().string()));
    EXPECT_TRUE(log.messages(google::GLOG_WARNING).empty());
}

TEST_F(CDReaderImage, IsCDPathIsFalseForAMissingPathWithAWarning)
{
    const std::string missing = (scratch.path() / "missing").string();
    EXPECT_FALSE(CDReader::IsCDPath(missing));
    EXPECT_EQ(log.messages(google::GLOG_WARNING),
              std::vector<std::string>{"Can't get drive path for " + missing});
    EXPECT_TRUE(log.messages(google::GLOG_INFO).empty());
}

TEST_F(CDReaderImage, IsCDPathIsFalseForFilesThatAreNoDisc)
{
    EXPECT_FALSE(CDReader::IsCDPath(scratch.write("notes.txt", "no disc").string()));
    EXPECT_FALSE(CDReader::IsCDPath(scratch.write("broken.cue", "FILE \"gone.bin\" BINARY\n").string()));
    EXPECT_TRUE(log.messages(google::GLOG_WARNING).empty());
}

TEST_F(CDReaderImage, CreateOnAFileThatIsNoDiscFails)
{
    const std::string broken = scratch.write("broken.cue", "not a cue sheet\n").string();
    const auto failure = testsupport::FailureOf<CDReaderException>([&] { CDReader::Create(broken); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description.rfind("Cannot open cueify device " + broken + ". Cueify error: ", 0), 0u)
        << failure->description;
    EXPECT_EQ(failure->function, "void Vantor::Proc::CDReader::Open()");
}

} // namespace
