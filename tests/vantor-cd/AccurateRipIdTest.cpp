// AccurateRip disc IDs of discs whose database file names are published: audio only, an
// enhanced CD whose data session extends the lead-out, and a data track before the audio.
#include "AccurateRipId.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

TEST(AccurateRipId, CountsAudioTracksAmongThemselvesUpToTheDiscsLastLeadOut)
{
    const struct
    {
        std::vector<uint32_t> starts; // of tracks 1 on
        unsigned dataTrack;           // none: 0
        std::vector<uint32_t> leadOuts;
        uint32_t freedb;
        const char* path;
    } cases[] = {
        {{0, 15213, 32164, 46442, 63264, 80339},
         0,
         {95312},
         0x3404f606,
         "e/b/3/dBAR-006-000513be-001b2231-3404f606.bin"},
        {{0, 1150, 2350}, 0, {3250}, 0x10002b03, "e/5/a/dBAR-003-00001a5e-0000574f-10002b03.bin"},
        {{0, 1150, 2350, 14650},
         4,
         {3250, 17650},
         0x2100eb04,
         "e/9/2/dBAR-003-0000529e-0001384f-2100eb04.bin"},
        {{0, 2150, 3150}, 1, {4050}, 0x0d003603, "6/8/4/dBAR-002-00002486-00005078-0d003603.bin"},
    };
    for (const auto& c : cases) {
        DiscToc disc;
        for (unsigned number = 1; number <= c.starts.size(); ++number) {
            TocTrack track;
            track.number = number;
            track.startLba = c.starts[number - 1];
            track.audio = number != c.dataTrack;
            disc.tracks.push_back(track);
        }
        disc.sessionLeadOutLba = c.leadOuts;
        EXPECT_EQ(accurateRipIdOf(disc, c.freedb).path(), c.path);
    }
}

} // namespace
} // namespace vantorcd
