// FreeDB and MusicBrainz disc IDs: published IDs of known tables of contents, and the IDs
// libdiscid computes for discs written here, with data tracks, two sessions and audio before
// track 1.
#include "HexText.h"
#include "cueify_testing/CueifyTesting.h"

#include <cueify/cueify.h>
#include <discgeometry/DiscGeometry.h>
#include <discid/discid.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace cueify::test {
namespace {

struct TocEntry
{
    uint8_t number;
    uint32_t lba;
    bool data = false;
};

void putBigEndian32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

// A READ TOC format 0 reply with the lead-out as the last entry.
PlainTocOwner plainToc(const std::vector<TocEntry>& tracks, uint32_t leadOut)
{
    std::vector<uint8_t> bytes = {0, 0, tracks.front().number, tracks.back().number};
    for (const TocEntry& track : tracks) {
        bytes.insert(bytes.end(), {0, static_cast<uint8_t>(0x10 | (track.data ? 4 : 0)), track.number, 0});
        putBigEndian32(bytes, track.lba);
    }
    bytes.insert(bytes.end(), {0, 0x10, CUEIFY_LEAD_OUT_TRACK, 0});
    putBigEndian32(bytes, leadOut);
    bytes[0] = static_cast<uint8_t>((bytes.size() - 2) >> 8);
    bytes[1] = static_cast<uint8_t>(bytes.size() - 2);
    PlainTocOwner toc(cueify_toc_new());
    EXPECT_EQ(cueify_toc_deserialize(toc.get(), bytes.data(), bytes.size()), CUEIFY_OK);
    return toc;
}

SessionsOwner twoSessions(uint8_t lastSessionTrack, uint32_t lba)
{
    std::vector<uint8_t> bytes = {0, 10, 1, 2, 0, 0x14, lastSessionTrack, 0};
    putBigEndian32(bytes, lba);
    SessionsOwner sessions(cueify_sessions_new());
    EXPECT_EQ(cueify_sessions_deserialize(sessions.get(), bytes.data(), bytes.size()), CUEIFY_OK);
    return sessions;
}

std::string taken(char* id)
{
    std::string text = id ? id : "(null)";
    std::free(id);
    return text;
}

using testsupport::hex;

std::vector<TocEntry> audioTracks(const std::vector<uint32_t>& lbas)
{
    std::vector<TocEntry> tracks;
    for (size_t i = 0; i < lbas.size(); ++i)
        tracks.push_back({static_cast<uint8_t>(i + 1), lbas[i]});
    return tracks;
}

TEST(DiscId, PublishedIdsOfKnownTablesOfContents)
{
    const struct
    {
        const char* disc;
        std::vector<TocEntry> tracks;
        uint32_t leadOut;
        const char* freedb;
        const char* musicbrainz;
    } cases[] = {
        {"six tracks", audioTracks({0, 15213, 32164, 46442, 63264, 80339}), 95312, "3404f606",
         "49HHV7Eb8UKF3aQiNmu1GR8vKTY-"},
        {"thirteen tracks",
         audioTracks(
             {33, 9215, 21515, 37148, 49738, 61485, 77613, 89395, 112275, 124103, 136260, 148358, 154275}),
         179318, "c009560d", "5cVTKwEtQPTiqT4A3ktiYJ14WzQ-"},
        {"data track first",
         {{1, 0, true},
          {2, 183381},
          {3, 186504},
          {4, 190348},
          {5, 198331},
          {6, 208208},
          {7, 217926},
          {8, 230854},
          {9, 243284},
          {10, 251868}},
         262878,
         "9d0db10a",
         "ry6UkUayKgncrSiv06fnFKJCadM-"},
        // Digit sums of 284: reduced modulo 255 as a whole, not wrapped in a byte.
        {"digit sums above 255",
         audioTracks({0,      9000,   18000,  27000,  36000,  45000,  54000,  63000,  72000,
                      81000,  90000,  99000,  108000, 117000, 126000, 135000, 144000, 153000,
                      162000, 171000, 180000, 189000, 198000, 207000, 216000}),
         225000, "1d0bb819", nullptr},
        // A digest whose last byte ends in four zero bits still gives 27 characters before the pad.
        {"digest ending in zero bits", audioTracks({0, 20000, 40000}), 60012, nullptr,
         "cc50tCPHhQ.aEJ0o3FTtT7.lQiA-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.disc);
        const PlainTocOwner toc = plainToc(c.tracks, c.leadOut);
        if (c.freedb)
            EXPECT_EQ(hex(cueify_toc_get_freedb_id(toc.get(), nullptr)), c.freedb);
        if (c.musicbrainz)
            EXPECT_EQ(taken(cueify_toc_get_musicbrainz_id(toc.get(), nullptr)), c.musicbrainz);
    }
}

// Twelve audio tracks, then a data track in a second session: the data track counts for the
// FreeDB ID only when it is asked for, and never for the MusicBrainz ID.
TEST(DiscId, EnhancedCdLeavesItsDataSessionOutWhereTheIdSaysSo)
{
    std::vector<TocEntry> tracks =
        audioTracks({0, 21445, 34557, 61903, 83000, 98620, 112124, 135655, 154145, 176766, 194590, 213436});
    tracks.push_back({13, 244076, true});
    const PlainTocOwner toc = plainToc(tracks, 258988);
    const SessionsOwner sessions = twoSessions(13, 244076);
    EXPECT_EQ(hex(cueify_toc_get_freedb_id(toc.get(), nullptr)), "be0d7d0d");
    EXPECT_EQ(hex(cueify_toc_get_freedb_id(toc.get(), sessions.get())), "ae0c1e0c");
    EXPECT_EQ(taken(cueify_toc_get_musicbrainz_id(toc.get(), sessions.get())),
              "iIqthNFjPeboX2O1GKpqvcQIWDc-");
    EXPECT_EQ(taken(cueify_toc_get_musicbrainz_id(toc.get(), nullptr)), "iIqthNFjPeboX2O1GKpqvcQIWDc-");
}

int framesOf(cueify_msf_t msf)
{
    return (msf.min * 60 + msf.sec) * 75 + msf.frm;
}

// libdiscid's IDs for a disc: first, last audio track and a lead-out that stops one session gap
// before a data track that follows the audio.
struct LibDiscId
{
    std::string musicbrainz;
    std::string freedb;
};

LibDiscId libdiscidOf(cueify_full_toc* toc)
{
    int offsets[100] = {};
    const int first = cueify_full_toc_get_first_track(toc);
    int last = cueify_full_toc_get_last_track(toc);
    int leadOut = (framesOf(cueify_full_toc_get_disc_length(toc)));
    while (last > first &&
           (cueify_full_toc_get_track_control_flags(toc, static_cast<uint8_t>(last)) & 4) != 0)
        leadOut = (framesOf(cueify_full_toc_get_track_address(toc, static_cast<uint8_t>(last--)))) -
                  discgeometry::kSessionGapFrames;
    offsets[0] = leadOut;
    for (int n = first; n <= last; ++n)
        offsets[n] = (framesOf(cueify_full_toc_get_track_address(toc, static_cast<uint8_t>(n))));
    const std::unique_ptr<DiscId, void (*)(DiscId*)> discid(discid_new(), discid_free);
    EXPECT_EQ(discid_put(discid.get(), first, last, offsets), 1) << discid_get_error_msg(discid.get());
    return {discid_get_id(discid.get()), discid_get_freedb_id(discid.get())};
}

TEST(DiscId, ImagesGiveTheIdsLibdiscidComputes)
{
    const struct
    {
        const char* disc;
        std::string sheet;
        uint32_t sectors;
    } cases[] = {
        {"audio",
         "FILE a.bin BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n TRACK 02 AUDIO\n INDEX 01 00:20:00\n"
         " TRACK 03 AUDIO\n INDEX 00 00:40:00\n INDEX 01 00:42:00\n",
         5000},
        {"audio before track 1",
         "FILE a.bin BINARY\n TRACK 01 AUDIO\n INDEX 00 00:00:00\n INDEX 01 00:09:25\n"
         " TRACK 02 AUDIO\n INDEX 01 00:30:00\n",
         5000},
        {"data first",
         "FILE a.bin BINARY\n TRACK 01 MODE1/2352\n INDEX 01 00:00:00\n TRACK 02 AUDIO\n"
         " INDEX 00 00:20:00\n INDEX 01 00:22:00\n TRACK 03 AUDIO\n INDEX 01 00:50:00\n",
         5000},
        {"enhanced",
         "REM SESSION 01\nFILE a.bin BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n TRACK 02 AUDIO\n"
         " INDEX 01 00:20:00\nREM SESSION 02\nFILE b.bin BINARY\n TRACK 03 MODE2/2352\n INDEX 01 00:00:00\n",
         5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.disc);
        const testsupport::ScratchDirectory scratch;
        scratch.write("a.bin", std::string(c.sectors * CUEIFY_RAW_SECTOR_SIZE, '\0'));
        scratch.write("b.bin", std::string(3000 * CUEIFY_RAW_SECTOR_SIZE, '\0'));
        const DeviceOwner device = openDevice(scratch.write("disc.cue", c.sheet));
        const TocOwner toc = readToc(device.get());
        ASSERT_TRUE(toc);
        const LibDiscId expected = libdiscidOf(toc.get());
        EXPECT_EQ(taken(cueify_full_toc_get_musicbrainz_id(toc.get())), expected.musicbrainz);
        EXPECT_EQ(taken(cueify_device_get_musicbrainz_id(device.get())), expected.musicbrainz);
        EXPECT_EQ(hex(cueify_full_toc_get_freedb_id(toc.get(), 0)), expected.freedb);
        EXPECT_EQ(hex(cueify_device_get_freedb_id(device.get(), 0)), expected.freedb);
    }
}

} // namespace
} // namespace cueify::test
