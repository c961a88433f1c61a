#include "Vantor/Proc/ICDReader.h"

#include <gtest/gtest.h>

using Vantor::Proc::ICDReader;

TEST(ICDReader, TrackPathOfSeventhTrackOnADrive)
{
    const std::string path = ICDReader::CD_PATH_PREFIX + "/dev/sr0" + ICDReader::CD_TRACK_PREFIX + "7.cda";
    EXPECT_EQ(path, "cdda:///dev/sr0#track7.cda");
}

TEST(ICDReader, TrackPrefixCannotBeMistakenForPartOfAPath)
{
    EXPECT_EQ(ICDReader::CD_PATH_PREFIX.find(ICDReader::CD_TRACK_PREFIX), std::string::npos);
    EXPECT_EQ(std::string("/music/Tracks/a.cue").find(ICDReader::CD_TRACK_PREFIX), std::string::npos);
    EXPECT_EQ(ICDReader::CD_TRACK_PREFIX.find('/'), std::string::npos);
}
