// A one-session track table split where the drive says the last session starts.
#include "cueify_testing/CueifyTesting.h"

#include "core/FullTocHandle.h"
#include "drive/SessionSplit.h"

namespace cueify::test {
namespace {

// Tracks 1 to 3 at 00:02:00, 00:06:00 and 02:41:25 (11,400 frames after 00:09:25), lead-out 02:45:25.
FullTocData trackTable()
{
    FullTocData toc;
    toc.firstSession = toc.lastSession = 1;
    toc.sessions = {TocSession{1, 1, 3, CUEIFY_SESSION_MODE_1, AbsoluteFrame{12400}, {}, {}, {}}};
    toc.tracks = {TocTrack{1, 1, 0, 1, AbsoluteFrame{150}, {}}, TocTrack{2, 1, 0, 1, AbsoluteFrame{450}, {}},
                  TocTrack{3, 1, CUEIFY_TOC_TRACK_IS_DATA, 1, AbsoluteFrame{12100}, {}}};
    return toc;
}

const std::string kOneSession = "session 1: tracks 1-3, type 0x00, lead-out 02:45:25\n"
                                "track 1: session 1, control 0x0, at 00:02:00, length 00:04:00\n"
                                "track 2: session 1, control 0x0, at 00:06:00, length 02:35:25\n"
                                "track 3: session 1, control 0x4, at 02:41:25, length 00:04:00\n";

TEST(SessionSplit, TheLastSessionStartsWhereTheDriveSaysAndTheOneBeforeEndsTheGapEarlier)
{
    const std::pair<LastSessionStart, std::string> cases[] = {
        {{2, AbsoluteFrame{12100}},
         "session 1: tracks 1-2, type 0x00, lead-out 00:09:25\n"
         "session 2: tracks 3-3, type 0x00, lead-out 02:45:25\n"
         "track 1: session 1, control 0x0, at 00:02:00, length 00:04:00\n"
         "track 2: session 1, control 0x0, at 00:06:00, length 00:03:25\n"
         "track 3: session 2, control 0x4, at 02:41:25, length 00:04:00\n"},
        {{1, AbsoluteFrame{12100}}, kOneSession}, // one session: nothing to split
        {{2, AbsoluteFrame{150}}, kOneSession},   // the first track starts no later session
        {{2, AbsoluteFrame{12000}}, kOneSession}, // no track starts there
        {{2, AbsoluteFrame{450}}, kOneSession}};  // too close to the track before for a session gap
    for (const auto& [last, expected] : cases) {
        SCOPED_TRACE(last.firstTrackStart.value);
        const TocOwner toc(cueify_full_toc_new());
        *tocDataOf(toc.get()) = trackTable();
        splitAtLastSession(*tocDataOf(toc.get()), last);
        EXPECT_EQ(describeToc(toc.get()), expected);
    }
}

} // namespace
} // namespace cueify::test
