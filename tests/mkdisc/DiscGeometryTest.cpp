#include "mkdisc/DiscWriter.h"

#include "TestDiscs.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mkdisc {
namespace {

using test::audio;
using test::data;
using test::disc;

struct Expected
{
    uint8_t session;
    uint32_t startLba;
    uint32_t lengthSectors;
};

void expectLayout(const DiscLayout& layout, const std::vector<Expected>& tracks,
                  std::vector<uint32_t> leadOuts)
{
    ASSERT_EQ(layout.tracks.size(), tracks.size());
    for (size_t i = 0; i < tracks.size(); ++i) {
        SCOPED_TRACE("track " + std::to_string(i + 1));
        EXPECT_EQ(layout.tracks[i].number, i + 1);
        EXPECT_EQ(layout.tracks[i].session, tracks[i].session);
        EXPECT_EQ(layout.tracks[i].startLba, tracks[i].startLba);
        EXPECT_EQ(layout.tracks[i].lengthSectors, tracks[i].lengthSectors);
    }
    EXPECT_EQ(layout.sessionLeadOutLba, leadOuts);
}

TEST(DiscLayout, TrackLengthIncludesTheNextTracksPregaps)
{
    // Stored pregap 150; PREGAP 75; PREGAP 45 followed by stored 30.
    const DiscSpec spec = disc({{{audio(1000), audio(500, 150), audio(300, 0, 75), audio(200, 30, 45)}}});
    expectLayout(layoutOf(spec), {{1, 0, 1150}, {1, 1150, 575}, {1, 1725, 375}, {1, 2100, 200}}, {2300});
}

TEST(DiscLayout, StoredPregapOfTrackOneShiftsItsStart)
{
    expectLayout(layoutOf(disc({{{audio(100, 150)}}})), {{1, 150, 100}}, {250});
}

TEST(DiscLayout, NextSessionStartsElevenThousandFourHundredSectorsAfterTheLeadOut)
{
    const DiscSpec spec = disc({{{audio(1000), audio(2000)}}, {{data(TrackMode::Mode1Raw, 500, 0, 150)}}});
    // Session 2's pregap starts at 3000 + 11400 = 14400, its INDEX 01 at 14550.
    expectLayout(layoutOf(spec), {{1, 0, 1000}, {1, 1000, 2000}, {2, 14550, 500}}, {3000, 15050});
    EXPECT_FALSE(layoutOf(spec).tracks[2].audio);
}

TEST(DiscLayout, SerialOfEnhancedCdCountsAudioTracksOnly)
{
    const TrackSpec dataTrack = data(TrackMode::Mode1Raw, 500);
    // 00:02:00 + 00:15:25 + 00:28:50.
    EXPECT_EQ(discSerialNumber(layoutOf(disc({{{audio(1000), audio(1000), audio(1000)}}, {{dataTrack}}}))),
              0x0200u + 0x0F19u + 0x1C32u);
    // Two audio tracks: their own session's lead-out 00:28:50, not the disc's last.
    EXPECT_EQ(discSerialNumber(layoutOf(disc({{{audio(1000), audio(1000)}}, {{dataTrack}}}))), 0x1C32u);
    // Data track first on a one-session disc: two audio tracks, lead-out 00:42:00.
    EXPECT_EQ(
        discSerialNumber(layoutOf(disc({{{data(TrackMode::Mode1Raw, 1000), audio(1000), audio(1000)}}}))),
        0x2A00u);
    EXPECT_EQ(discSerialNumber(layoutOf(disc({{{dataTrack}}}))), 0u);
}

TEST(DiscLayout, LeadOutMayEndAtTheLastAddress)
{
    // Lead-out at 99:59:74, LBA 449,849.
    EXPECT_EQ(layoutOf(disc({{{audio(449849)}}})).sessionLeadOutLba, std::vector<uint32_t>{449849});
}

DiscSpec withName(const char* name)
{
    DiscSpec spec = disc({{{audio(1)}}});
    spec.name = name;
    return spec;
}

DiscSpec waveWithDataTrack()
{
    DiscSpec spec = disc({{{audio(1), data(TrackMode::Mode2Raw, 1)}}});
    spec.format = DataFileFormat::Wave;
    return spec;
}

TEST(DiscLayout, RefusesDiscsThatCannotExist)
{
    const std::vector<std::pair<DiscSpec, std::string>> cases = {
        {disc({}), "a disc needs at least one session"},
        {disc({{{audio(1)}}, {}}), "session 2 has no tracks"},
        {disc({{{audio(1), audio(0)}}}), "track 2 has no sectors"},
        {disc({{std::vector<TrackSpec>(100, audio(1))}}), "a disc holds at most 99 tracks, not 100"},
        {disc({{{audio(200000), audio(200000, 0, 50000)}}}), "the disc does not fit in 99:59:74"},
        {disc({{{audio(449850)}}}), "the disc does not fit in 99:59:74"},
        {waveWithDataTrack(), "track 2 is a data track: WAVE files hold audio only"},
        {withName(""), "disc name \"\" cannot name a file"},
        {withName("a\"b"), "disc name \"a\"b\" has a character a CUE sheet cannot hold"},
        {withName("a/b"), "disc name \"a/b\" has a character a CUE sheet cannot hold"},
    };
    for (const auto& [spec, message] : cases) {
        try {
            layoutOf(spec);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

} // namespace
} // namespace mkdisc
