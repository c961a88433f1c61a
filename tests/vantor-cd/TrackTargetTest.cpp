#include "TrackTarget.h"
#include "UserError.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

std::string resolved(const std::string& text)
{
    try {
        const TrackTarget target = resolveTrack(text);
        return target.drive + " track " + std::to_string(target.track);
    } catch (const UserError& error) {
        return error.what();
    }
}

// A drive's path may hold "Tracks" or ".cda": only the end of the text names the track.
TEST(TrackTarget, TrackPathGivesDriveAndNumberOrIsNamedAsBroken)
{
    EXPECT_EQ(resolved("cdda:///dev/sr0#track1.cda"), "/dev/sr0 track 1");
    EXPECT_EQ(resolved("cdda:///music/Tracks/a.cue#track99.CDA"), "/music/Tracks/a.cue track 99");
    EXPECT_EQ(resolved("cdda:///discs/with.cda.inside#track12.cda"), "/discs/with.cda.inside track 12");
    for (const std::string text :
         {"cdda:///dev/sr0#track.cda", "cdda:///dev/sr0#track0.cda", "cdda:///dev/sr0#track100.cda",
          "cdda:///dev/sr0#track7", "cdda:///dev/sr0.cda", "cdda://#track1.cda",
          "cdda:///dev/sr0#track7x.cda"})
        EXPECT_EQ(resolved(text), text + " is not a track path (expected cdda://DRIVE#trackN.cda)");
}

} // namespace
} // namespace vantorcd
