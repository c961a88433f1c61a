#include "mkdisc/DiscWriter.h"

#include "TrackWordParser.h"

#include <gtest/gtest.h>

namespace mkdisc {
namespace {

DiscDescription discOf(const std::vector<std::string>& words)
{
    DiscDescription description;
    description.sessions = parseSessionWords(words);
    return description;
}

TEST(DiscLayout, TracksFollowTheirPregapsAndSessionsTheSessionGap)
{
    const DiscLayout layout =
        layoutOf(discOf({"audio:1000,pregap=150", "audio:500,pregap=150", "audio:300,silence=75",
                         "audio:200,pregap=30,silence=45", "/", "mode1:500,pregap=150"}));
    std::vector<std::array<uint32_t, 5>> tracks; // number, session, audio, start, length up to the next start
    for (const TrackLayout& t : layout.tracks)
        tracks.push_back({t.number, t.session, t.audio, t.startLba, t.lengthSectors});
    EXPECT_EQ(tracks, (std::vector<std::array<uint32_t, 5>>{{1, 1, 1, 150, 1150},
                                                            {2, 1, 1, 1300, 575},
                                                            {3, 1, 1, 1875, 375},
                                                            {4, 1, 1, 2250, 200},
                                                            {5, 2, 0, 14000, 500}}));
    // Session 2's pregap starts 11,400 sectors after session 1's lead-out.
    EXPECT_EQ(layout.sessionLeadOutLba, (std::vector<uint32_t>{2450, 14500}));
    // 99:59:74 is the last address a lead-out may have.
    EXPECT_EQ(layoutOf(discOf({"audio:449849"})).sessionLeadOutLba, std::vector<uint32_t>{449849});
}

TEST(SectorContent, DataSectorHasSyncBcdAddressModeAndByteSixteen)
{
    // Session 2 starts at 30 + 11,400: its LBA 11,433 is 02:34:33.
    const Sector sector = sectorAt(discOf({"audio:10", "mode1:20", "/", "mode2:5,byte16=2"}), 11433);
    EXPECT_EQ(std::vector<uint8_t>(sector.begin(), sector.begin() + 17),
              (std::vector<uint8_t>{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,
                                    0x02, 0x34, 0x33, 2, 2}));
}

} // namespace
} // namespace mkdisc
