#include "TrackTarget.h"
#include "UserError.h"

#include <gtest/gtest.h>

namespace vantorcd {
namespace {

std::string failureOf(const std::string& argument)
{
    try {
        resolveTrack(argument);
    } catch (const UserError& error) {
        return error.what();
    }
    return "no error";
}

TEST(TrackTarget, TrackPathGivesDriveAndNumber)
{
    const struct
    {
        const char* path;
        const char* drive;
        unsigned track;
    } cases[] = {
        {"cdda:///dev/sr0#track7.cda", "/dev/sr0", 7},
        {"cdda:///music/Tracks/a.cue#track12.CDA", "/music/Tracks/a.cue", 12},
        {"cdda:///discs/with.cda.inside#track1.cda", "/discs/with.cda.inside", 1},
    };
    for (const auto& c : cases) {
        const std::optional<TrackTarget> target = parseTrackPath(c.path);
        ASSERT_TRUE(target) << c.path;
        EXPECT_EQ(target->drive, c.drive);
        EXPECT_EQ(target->track, c.track);
        EXPECT_FALSE(target->trackFile);
        EXPECT_EQ(target->formatName, "cda");
    }
}

TEST(TrackTarget, OtherTextIsNoTrackPath)
{
    EXPECT_FALSE(parseTrackPath("/dev/sr0"));
    EXPECT_FALSE(parseTrackPath("Track01.cda"));
}

TEST(TrackTarget, BrokenTrackPathIsNamed)
{
    for (const char* path : {"cdda:///dev/sr0#track.cda", "cdda:///dev/sr0#track0.cda",
                             "cdda:///dev/sr0#track100.cda", "cdda:///dev/sr0#track7", "cdda:///dev/sr0.cda",
                             "cdda://#track1.cda", "cdda:///dev/sr0#track7x.cda"}) {
        EXPECT_EQ(failureOf(path),
                  std::string(path) + " is not a track path (expected cdda://DRIVE#trackN.cda)");
    }
}

} // namespace
} // namespace vantorcd
