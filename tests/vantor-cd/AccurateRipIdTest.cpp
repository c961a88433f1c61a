// AccurateRip disc IDs of discs whose database file names are published: audio only, an
// enhanced CD whose data session extends the lead-out, and a data track before the audio.
#include "AccurateRipId.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

TocTrack track(unsigned number, uint32_t startLba, bool audio = true)
{
    TocTrack entry;
    entry.number = number;
    entry.startLba = startLba;
    entry.audio = audio;
    return entry;
}

TEST(AccurateRipId, CountsAudioTracksAmongThemselvesUpToTheDiscsLastLeadOut)
{
    const struct
    {
        const char* disc;
        std::vector<TocTrack> tracks;
        std::vector<uint32_t> leadOuts;
        uint32_t freedb;
        const char* path;
    } cases[] = {
        {"six tracks",
         {track(1, 0), track(2, 15213), track(3, 32164), track(4, 46442), track(5, 63264), track(6, 80339)},
         {95312},
         0x3404f606,
         "e/b/3/dBAR-006-000513be-001b2231-3404f606.bin"},
        {"audio",
         {track(1, 0), track(2, 1150), track(3, 2350)},
         {3250},
         0x10002b03,
         "e/5/a/dBAR-003-00001a5e-0000574f-10002b03.bin"},
        {"enhanced",
         {track(1, 0), track(2, 1150), track(3, 2350), track(4, 14650, false)},
         {3250, 17650},
         0x2100eb04,
         "e/9/2/dBAR-003-0000529e-0001384f-2100eb04.bin"},
        {"data first",
         {track(1, 0, false), track(2, 2150), track(3, 3150)},
         {4050},
         0x0d003603,
         "6/8/4/dBAR-002-00002486-00005078-0d003603.bin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.disc);
        DiscToc disc;
        disc.tracks = c.tracks;
        disc.sessionLeadOutLba = c.leadOuts;
        EXPECT_EQ(accurateRipIdOf(disc, c.freedb).path(), c.path);
    }
}

} // namespace
} // namespace vantorcd
