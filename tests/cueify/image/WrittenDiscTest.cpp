// Images written by the disc-image writer read back as the writer says they should:
// the full TOC as layoutOf() describes it, every sector as sectorAt() describes it.
#include "ImageFiles.h"

#include <mkdisc/DiscWriter.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <stdexcept>

namespace cueify::test {
namespace {

using mkdisc::DataFileFormat;
using mkdisc::DiscSpec;
using mkdisc::TrackMode;
using mkdisc::TrackSpec;

TrackSpec audio(uint32_t sectors, uint32_t storedPregap = 0, uint32_t silentPregap = 0)
{
    TrackSpec track;
    track.sectors = sectors;
    track.storedPregapSectors = storedPregap;
    track.silentPregapSectors = silentPregap;
    return track;
}

TrackSpec data(TrackMode mode, uint32_t sectors, uint32_t storedPregap = 0)
{
    TrackSpec track = audio(sectors, storedPregap);
    track.mode = mode;
    track.dataModeByte = mode == TrackMode::Mode1Raw ? 1 : 2;
    return track;
}

DiscSpec audioDisc()
{
    DiscSpec spec;
    TrackSpec first = audio(300);
    first.digitalCopyPermitted = true;
    TrackSpec second = audio(200, 150);
    second.preEmphasis = true;
    TrackSpec third = audio(150, 0, 75);
    third.fourChannel = true;
    spec.sessions = {{{first, second, third}}};
    return spec;
}

DiscSpec dataFirstDisc()
{
    DiscSpec spec;
    spec.sessions = {{{data(TrackMode::Mode1Raw, 200), audio(300, 150), audio(120)}}};
    return spec;
}

DiscSpec enhancedCd()
{
    DiscSpec spec;
    spec.sessions = {{{audio(300), audio(250, 30)}}, {{data(TrackMode::Mode2Raw, 200, 150)}}};
    return spec;
}

struct DiscCase
{
    const char* name;
    std::function<DiscSpec()> make;
    DataFileFormat format;
    bool filePerTrack;
};

void PrintTo(const DiscCase& c, std::ostream* os)
{
    *os << c.name;
}

uint8_t expectedControl(const TrackSpec& track)
{
    return static_cast<uint8_t>((track.mode != TrackMode::Audio ? CUEIFY_TOC_TRACK_IS_DATA : 0) |
                                (track.digitalCopyPermitted ? CUEIFY_TOC_TRACK_PERMITS_COPYING : 0) |
                                (track.fourChannel ? CUEIFY_TOC_TRACK_IS_QUADRAPHONIC : 0) |
                                (track.preEmphasis ? CUEIFY_TOC_TRACK_HAS_PREEMPHASIS : 0));
}

std::vector<TrackSpec> tracksOf(const DiscSpec& spec)
{
    std::vector<TrackSpec> tracks;
    for (const auto& session : spec.sessions)
        tracks.insert(tracks.end(), session.tracks.begin(), session.tracks.end());
    return tracks;
}

class WrittenDisc : public ::testing::TestWithParam<DiscCase>
{
protected:
    void SetUp() override
    {
        m_spec = GetParam().make();
        m_spec.format = GetParam().format;
        m_spec.filePerTrack = GetParam().filePerTrack;
        m_written = mkdisc::writeDisc(m_spec, m_dir.path());
        m_device = openDevice(m_written.cueSheet.string());
        ASSERT_NE(m_device, nullptr);
    }

    TempDir m_dir;
    DiscSpec m_spec;
    mkdisc::WrittenDisc m_written;
    DeviceOwner m_device;
};

TEST_P(WrittenDisc, FullTocMatchesTheWrittenLayout)
{
    const mkdisc::DiscLayout layout = mkdisc::layoutOf(m_spec);
    const std::vector<TrackSpec> specs = tracksOf(m_spec);
    const TocOwner toc = readToc(m_device.get());
    cueify_full_toc* t = toc.get();
    ASSERT_EQ(cueify_full_toc_get_first_session(t), 1);
    ASSERT_EQ(cueify_full_toc_get_last_session(t), layout.sessionLeadOutLba.size());
    for (size_t s = 0; s < layout.sessionLeadOutLba.size(); ++s) {
        const auto session = static_cast<uint8_t>(s + 1);
        EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(t, session)),
                  framesText(layout.sessionLeadOutLba[s] + 150))
            << "session " << s + 1;
    }
    for (size_t i = 0; i < layout.tracks.size(); ++i) {
        const mkdisc::TrackLayout& track = layout.tracks[i];
        SCOPED_TRACE("track " + std::to_string(track.number));
        EXPECT_EQ(text(cueify_full_toc_get_track_address(t, track.number)), framesText(track.startLba + 150));
        EXPECT_EQ(text(cueify_full_toc_get_track_length(t, track.number)), framesText(track.lengthSectors));
        EXPECT_EQ(cueify_full_toc_get_track_session(t, track.number), track.session);
        EXPECT_EQ(cueify_full_toc_get_track_control_flags(t, track.number), expectedControl(specs[i]));
    }
}

TEST_P(WrittenDisc, EverySectorMatchesTheWriter)
{
    const mkdisc::DiscLayout layout = mkdisc::layoutOf(m_spec);
    const uint32_t end = layout.sessionLeadOutLba.back();
    uint32_t compared = 0;
    for (uint32_t lba = 0; lba < end; ++lba) {
        mkdisc::Sector expected;
        try {
            expected = mkdisc::sectorAt(m_spec, lba);
        } catch (const std::out_of_range&) {
            Sector sector;
            ASSERT_EQ(cueify_device_read_raw(m_device.get(), lba, sector.data()), CUEIFY_ERR_INTERNAL) << lba;
            continue;
        }
        const Sector read = readSector(m_device.get(), lba);
        ASSERT_TRUE(std::equal(read.begin(), read.end(), expected.begin())) << "sector " << lba;
        ++compared;
    }
    EXPECT_GT(compared, 0u);
    Sector sector;
    EXPECT_EQ(cueify_device_read_raw(m_device.get(), end, sector.data()), CUEIFY_ERR_BADARG);
}

TEST_P(WrittenDisc, ItsDirectoryOpensAsAVirtualDrive)
{
    const DeviceOwner drive = openDevice(m_dir.path().string());
    ASSERT_NE(drive, nullptr);
    const mkdisc::TrackLayout last = mkdisc::layoutOf(m_spec).tracks.back();
    const mkdisc::Sector expected = mkdisc::sectorAt(m_spec, last.startLba);
    const Sector read = readSector(drive.get(), last.startLba);
    EXPECT_TRUE(std::equal(read.begin(), read.end(), expected.begin()));
}

INSTANTIATE_TEST_SUITE_P(
    ImageBackend, WrittenDisc,
    ::testing::Values(DiscCase{"AudioBinary", audioDisc, DataFileFormat::Binary, false},
                      DiscCase{"AudioBinaryPerTrack", audioDisc, DataFileFormat::Binary, true},
                      DiscCase{"AudioWave", audioDisc, DataFileFormat::Wave, false},
                      DiscCase{"AudioWavePerTrack", audioDisc, DataFileFormat::Wave, true},
                      DiscCase{"DataFirst", dataFirstDisc, DataFileFormat::Binary, false},
                      DiscCase{"DataFirstPerTrack", dataFirstDisc, DataFileFormat::Binary, true},
                      DiscCase{"EnhancedCd", enhancedCd, DataFileFormat::Binary, false},
                      DiscCase{"EnhancedCdPerTrack", enhancedCd, DataFileFormat::Binary, true}),
    [](const ::testing::TestParamInfo<DiscCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace cueify::test
