// Opening tracks of disc images written at run time, read by the real disc-access library: by the
// track paths the disc reader hands out, and by the .cda files of a virtual drive.
#include "OpenFixture.h"

#include "Vantor/Conf/IFormatFile.h"
#include "Vantor/Proc/Parsers/ParserCD/CDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

#include <mkdisc/DiscWriter.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace openfixture;
using Vantor::SP;
using Vantor::Conf::IFormatFile;
using Vantor::Proc::CDReader;
using Vantor::Proc::ICDReader;
using Vantor::Proc::IDataPacket;
using Vantor::Proc::IParser;

constexpr const char* VIRTUAL_DRIVES = "CUEIFY_VIRTUAL_DRIVES";

mkdisc::TrackSpec Track(uint32_t sectors, mkdisc::TrackMode mode = mkdisc::TrackMode::Audio,
                        uint8_t modeByte = 0)
{
    mkdisc::TrackSpec track;
    track.mode = mode;
    track.sectors = sectors;
    track.dataModeByte = modeByte;
    return track;
}

// Three audio tracks of 10 s, 15.4 s (with a stored pregap before track 2's start) and 30 s.
mkdisc::DiscSpec Album(const std::string& name = "album")
{
    mkdisc::DiscSpec spec;
    spec.name = name;
    mkdisc::TrackSpec second = Track(1155);
    second.storedPregapSectors = 75;
    spec.sessions = {{{Track(750), second, Track(2250)}}};
    return spec;
}

// An audio track followed by a data track whose sectors carry modeByte at offset 16.
mkdisc::DiscSpec MixedDisc(uint8_t modeByte)
{
    mkdisc::DiscSpec spec;
    spec.name = "mixed";
    spec.sessions = {{{Track(750), Track(600, mkdisc::TrackMode::Mode1Raw, modeByte)}}};
    return spec;
}

std::string TrackTag(const SP<IParser>& parser)
{
    return parser->GetFormatFile()->GetProperty().FindChild(IFormatFile::TAG_TRACK)->GetString();
}

std::vector<uint8_t> BytesOf(const SP<IDataPacket>& packet)
{
    return std::vector<uint8_t>(packet->GetData(), packet->GetData() + packet->GetSize());
}

class ParserCDImage : public testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* drives = std::getenv(VIRTUAL_DRIVES))
            savedDrives = drives;
    }
    void TearDown() override
    {
        if (savedDrives)
            setenv(VIRTUAL_DRIVES, savedDrives->c_str(), 1);
        else
            unsetenv(VIRTUAL_DRIVES);
    }

    mkdisc::WrittenDisc Write(const mkdisc::DiscSpec& spec, const std::string& drive = "drive")
    {
        return mkdisc::writeDisc(spec, scratch.path() / drive);
    }

    // Opens the track and checks that it is the one the disc's layout places there.
    void ExpectTrackOpens(const std::string& path, const mkdisc::DiscSpec& spec,
                          const mkdisc::TrackLayout& track)
    {
        SCOPED_TRACE(path);
        const SP<IParser> parser = Open(path, tracker);
        const Vantor::avTime seconds = track.lengthSectors / 75;
        EXPECT_EQ(TrackTag(parser), std::to_string(track.number));
        EXPECT_EQ(parser->GetDuration(), seconds * 1000000);
        EXPECT_EQ(parser->GetSize(), seconds * 176400);
        const SP<IDataPacket> first = parser->Read();
        ASSERT_TRUE(first);
        const mkdisc::Sector expected = mkdisc::sectorAt(spec, track.startLba);
        EXPECT_EQ(BytesOf(first), std::vector<uint8_t>(expected.begin(), expected.end()));
    }

    ScratchDirectory scratch;
    SP<RecordingTracker> tracker{new RecordingTracker};
    std::optional<std::string> savedDrives;
};

TEST_F(ParserCDImage, EveryAudioTrackOpensByTheReadersTrackPath)
{
    const mkdisc::DiscSpec spec = Album();
    const mkdisc::DiscLayout layout = mkdisc::layoutOf(spec);
    const SP<ICDReader> reader = CDReader::Create(Write(spec).cueSheet.string());
    ASSERT_EQ(reader->GetTrackCount(), layout.tracks.size());

    for (const mkdisc::TrackLayout& track : layout.tracks) {
        ExpectTrackOpens(reader->GetTrackPath(track.number).utf8string(), spec, track);
        EXPECT_EQ(reader->GetTrackDuration(track.number), track.lengthSectors / 75 * 1000000);
    }
    EXPECT_TRUE(tracker->reports.empty());
}

TEST_F(ParserCDImage, EveryAudioTrackOpensByItsCdaFileOnAVirtualDrive)
{
    const mkdisc::DiscSpec spec = Album();
    const mkdisc::DiscLayout layout = mkdisc::layoutOf(spec);
    mkdisc::DiscSpec longer = Album("longer");
    longer.sessions[0].tracks[0].sectors = 900; // another disc: another serial number
    const mkdisc::WrittenDisc decoy = Write(longer, "decoy");
    const mkdisc::WrittenDisc written = Write(spec);
    ASSERT_NE(decoy.serial, written.serial);
    ASSERT_EQ(written.cdaFiles.size(), layout.tracks.size());
    const std::string drives =
        (scratch.path() / "decoy").string() + ":" + (scratch.path() / "drive").string();
    setenv(VIRTUAL_DRIVES, drives.c_str(), 1);

    for (size_t index = 0; index < layout.tracks.size(); ++index)
        ExpectTrackOpens(written.cdaFiles[index].string(), spec, layout.tracks[index]);
    EXPECT_TRUE(tracker->reports.empty());
}

TEST_F(ParserCDImage, CdaFileOfADiscInNoDriveFindsNoSource)
{
    const mkdisc::WrittenDisc written = Write(Album());
    mkdisc::DiscSpec longer = Album("longer");
    longer.sessions[0].tracks[0].sectors = 900;
    Write(longer, "decoy");
    setenv(VIRTUAL_DRIVES, (scratch.path() / "decoy").string().c_str(), 1);

    const std::string input = written.cdaFiles[0].string();
    EXPECT_EQ(OpenFailure(input, tracker),
              OpenInputFailure("Cannot find cdrom source for the track.", input));
}

TEST_F(ParserCDImage, DataTrackWithZeroAtOffset16Opens)
{
    const mkdisc::DiscSpec spec = MixedDisc(0);
    const SP<ICDReader> reader = CDReader::Create(Write(spec).cueSheet.string());
    ExpectTrackOpens(reader->GetTrackPath(2).utf8string(), spec, mkdisc::layoutOf(spec).tracks[1]);
    EXPECT_TRUE(tracker->reports.empty());
}

TEST_F(ParserCDImage, DataTrackWithModeOneAtOffset16IsRefused)
{
    const SP<ICDReader> reader = CDReader::Create(Write(MixedDisc(1)).cueSheet.string());
    EXPECT_EQ(OpenFailure(reader->GetTrackPath(2).utf8string(), tracker),
              OpenInputFailure("Unsupported track data mode.", std::nullopt));
    EXPECT_EQ(tracker->reports, std::vector<Report>{FileOpenReport("Unsupported track data mode: Mode 1")});
}

} // namespace
