// FreeDB and MusicBrainz disc IDs: published IDs of known tables of contents, and a device's IDs
// as its full TOC gives them. The full TOC's IDs of a disc with a data session are those the
// command-line host lists for its demo disc.
#include "HexText.h"
#include "TrackWords.h"
#include "cueify_testing/CueifyTesting.h"
#include "fulltoc/FullTocReplyBuilder.h"

#include <mkdisc/DiscWriter.h>

#include <cstdlib>
#include <iterator>
#include <sstream>
#include <vector>

namespace cueify::test {
namespace {

using testsupport::hex;

void putBigEndian32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

std::string taken(char* id)
{
    std::string text = id ? id : "(null)";
    std::free(id);
    return text;
}

TEST(DiscId, PublishedIdsOfKnownTablesOfContents)
{
    const std::string enhanced = "0 21445 34557 61903 83000 98620 112124 135655 154145 176766 194590 213436 "
                                 "244076 258988";
    std::string sums; // tracks of two minutes
    for (uint32_t lba = 0; lba <= 225000; lba += 9000)
        sums += " " + std::to_string(lba);
    const struct
    {
        std::string lbas; // of tracks 1 on, then the lead-out
        uint8_t data;     // the data track; 0: none
        bool sessions;    // the data track in a second session
        const char* freedb;
        const char* musicbrainz;
    } cases[] = {
        {"0 15213 32164 46442 63264 80339 95312", 0, false, "3404f606", "49HHV7Eb8UKF3aQiNmu1GR8vKTY-"},
        {"33 9215 21515 37148 49738 61485 77613 89395 112275 124103 136260 148358 154275 179318", 0, false,
         "c009560d", "5cVTKwEtQPTiqT4A3ktiYJ14WzQ-"},
        {"0 183381 186504 190348 198331 208208 217926 230854 243284 251868 262878", 1, false, "9d0db10a",
         "ry6UkUayKgncrSiv06fnFKJCadM-"},
        // Digit sums of 284: reduced modulo 255 as a whole, not wrapped in a byte.
        {sums, 0, false, "1d0bb819", nullptr},
        // A digest whose last byte ends in four zero bits still gives 27 characters before the pad.
        {"0 20000 40000 60012", 0, false, nullptr, "cc50tCPHhQ.aEJ0o3FTtT7.lQiA-"},
        // Twelve audio tracks, then a data track: it counts for the FreeDB ID only without the
        // sessions, and never for the MusicBrainz ID.
        {enhanced, 13, false, "be0d7d0d", "iIqthNFjPeboX2O1GKpqvcQIWDc-"},
        {enhanced, 13, true, "ae0c1e0c", "iIqthNFjPeboX2O1GKpqvcQIWDc-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lbas);
        std::istringstream words(c.lbas);
        const std::vector<uint32_t> lbas{std::istream_iterator<uint32_t>(words), {}};
        // A READ TOC format 0 reply with the lead-out as the last entry.
        const uint8_t last = static_cast<uint8_t>(lbas.size() - 1);
        std::vector<uint8_t> bytes = {0, 0, 1, last};
        for (uint8_t track = 1; track <= last + 1; ++track) {
            bytes.insert(bytes.end(), {0, uint8_t(track == c.data ? 0x14 : 0x10),
                                       uint8_t(track > last ? CUEIFY_LEAD_OUT_TRACK : track), 0});
            putBigEndian32(bytes, lbas[track - 1]);
        }
        bytes[1] = static_cast<uint8_t>(bytes.size() - 2);
        const PlainTocOwner toc(cueify_toc_new());
        ASSERT_EQ(cueify_toc_deserialize(toc.get(), bytes.data(), bytes.size()), CUEIFY_OK);
        SessionsOwner sessions;
        if (c.sessions) {
            std::vector<uint8_t> record = {0, 10, 1, 2, 0, 0x14, c.data, 0};
            putBigEndian32(record, lbas[c.data - 1]);
            sessions.reset(cueify_sessions_new());
            ASSERT_EQ(cueify_sessions_deserialize(sessions.get(), record.data(), record.size()), CUEIFY_OK);
        }
        if (c.freedb)
            EXPECT_EQ(hex(cueify_toc_get_freedb_id(toc.get(), sessions.get())), c.freedb);
        if (c.musicbrainz)
            EXPECT_EQ(taken(cueify_toc_get_musicbrainz_id(toc.get(), sessions.get())), c.musicbrainz);
    }
}

// An enhanced CD, whose IDs leave out its data session, unless the FreeDB ID is asked to count it.
TEST(DiscId, DeviceGivesTheIdsOfItsFullToc)
{
    const testsupport::ScratchDirectory scratch;
    const DeviceOwner device = openDevice(
        mkdisc::writeDisc(testsupport::discOfTrackWords("audio:1500 audio:3500 / mode2:3000"), scratch.path())
            .cueSheet);
    const TocOwner toc = readToc(device.get());
    ASSERT_TRUE(toc);
    EXPECT_EQ(taken(cueify_device_get_musicbrainz_id(device.get())),
              taken(cueify_full_toc_get_musicbrainz_id(toc.get())));
    for (const int useDataTracks : {0, 1})
        EXPECT_EQ(hex(cueify_device_get_freedb_id(device.get(), useDataTracks)),
                  hex(cueify_full_toc_get_freedb_id(toc.get(), useDataTracks)));
}

// The full TOC's byte form: a two-session reply as a drive sends it answers the getters of its
// points, which the decoder's tests leave out, and writes back byte for byte.
TEST(FullTocBytes, TwoSessionReplyAnswersItsPointsAndWritesBackAsItCame)
{
    // Session 1: audio tracks 1 and 2, lead-out 09:37:00; session 2: data track 3 at 02:41:25.
    fulltoc::ReplyBuilder builder(1, 2);
    builder.session(1, 0, 1, 2, CUEIFY_SESSION_MODE_1, 9, 37, 0)
        .track(1, 0, 1, 0, 2, 0)
        .track(1, 0, 2, 4, 0, 0);
    builder.session(2, CUEIFY_TOC_TRACK_IS_DATA, 3, 3, CUEIFY_SESSION_MODE_2, 11, 0, 0);
    std::vector<uint8_t> reply = builder.track(2, CUEIFY_TOC_TRACK_IS_DATA, 3, 2, 41, 25).bytes();
    reply[53] = 5; // track 2 carries the lead-in time at which the drive read it, 00:05:07
    reply[54] = 7;
    reply[20] = 6; // and session 1's A1 item at 00:06:00
    const TocOwner toc(cueify_full_toc_new());
    ASSERT_EQ(cueify_full_toc_deserialize(toc.get(), reply.data(), reply.size()), CUEIFY_OK);
    EXPECT_EQ(
        cueify_full_toc_get_session_control_flags(toc.get(), 2, CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK), 4);
    EXPECT_EQ(cueify_full_toc_get_session_control_flags(toc.get(), 2, 0xA2), 0);
    EXPECT_EQ(cueify_full_toc_get_session_sub_q_channel_format(toc.get(), 1, CUEIFY_LEAD_OUT_TRACK), 1);
    EXPECT_EQ(msfText(cueify_full_toc_get_point_address(toc.get(), 1, 2)), "00:05:07");
    EXPECT_EQ(msfText(cueify_full_toc_get_point_address(toc.get(), 1, 0xA1)), "00:06:00");
    EXPECT_EQ(msfText(cueify_full_toc_get_point_address(toc.get(), 1, 0xA2)), "00:00:00");
    EXPECT_EQ(msfText(cueify_full_toc_get_session_length(toc.get(), 2)), "08:18:50");
    EXPECT_EQ(std::to_string(cueify_full_toc_get_first_track(toc.get())) + "-" +
                  std::to_string(cueify_full_toc_get_last_track(toc.get())) + " " +
                  msfText(cueify_full_toc_get_disc_length(toc.get())),
              "1-3 11:00:00");

    size_t size = 0;
    ASSERT_EQ(cueify_full_toc_serialize(toc.get(), nullptr, &size), CUEIFY_OK);
    ASSERT_EQ(size, reply.size());
    std::vector<uint8_t> written(size);
    size_t tooSmall = size - 1;
    EXPECT_EQ(cueify_full_toc_serialize(toc.get(), written.data(), &tooSmall), CUEIFY_ERR_TOOSMALL);
    ASSERT_EQ(cueify_full_toc_serialize(toc.get(), written.data(), &size), CUEIFY_OK);
    EXPECT_EQ(written, reply);
}

} // namespace
} // namespace cueify::test
