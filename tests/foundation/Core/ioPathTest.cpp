#include "Vantor/Core/Interfaces/ioPath.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

using Vantor::ioPath;

namespace {

struct ExtensionCase
{
    const char* name;
    const char* path;
    const char* extension;
};

class ioPathExtension : public testing::TestWithParam<ExtensionCase>
{
};

} // namespace

TEST(ioPath, Utf8TextRoundTripsThroughEveryConstructor)
{
    const std::string text = "/tmp/\xC3\x9Cn\xC3\xAF"
                             "c\xC3\xB6"
                             "d\xC3\xA9/\xE3\x83\x88\xE3\x83\xA9\xE3\x83\x83\xE3\x82\xAF.cda";
    EXPECT_EQ(ioPath(text).utf8string(), text);
    EXPECT_EQ(ioPath(text.c_str()).utf8string(), text);
    EXPECT_EQ(ioPath(boost::filesystem::path(text)).utf8string(), text);
    EXPECT_EQ(ioPath(text).extension().utf8string(), ".cda");
}

TEST(ioPath, NullOrEmptyTextIsAnEmptyPath)
{
    EXPECT_TRUE(ioPath(static_cast<const char*>(nullptr)).empty());
    EXPECT_TRUE(ioPath("").empty());
    EXPECT_FALSE(ioPath("a").empty());
}

TEST_P(ioPathExtension, KeepsItsDotAndItsCase)
{
    EXPECT_EQ(ioPath(GetParam().path).extension().utf8string(), GetParam().extension);
}

INSTANTIATE_TEST_SUITE_P(Paths, ioPathExtension,
                         testing::Values(ExtensionCase{"TrackFile", "/Volumes/Audio CD/Track01.cda", ".cda"},
                                         ExtensionCase{"UpperCase", "/music/TRACK.CDA", ".CDA"},
                                         ExtensionCase{"TwoDots", "/music/a.b.cue", ".cue"},
                                         ExtensionCase{"None", "/dev/sr0", ""},
                                         ExtensionCase{"TrackPath", "cdda:///dev/sr0#track7.cda", ".cda"}),
                         [](const testing::TestParamInfo<ExtensionCase>& info) { return info.param.name; });

TEST(ioPath, PlusJoinsTheTextsWithNothingBetween)
{
    const ioPath joined = ioPath("cdda://") + ioPath("/dev/sr0") + ioPath("#track") + ioPath("7.cda");
    EXPECT_EQ(joined.utf8string(), "cdda:///dev/sr0#track7.cda");
    EXPECT_EQ((ioPath("/music") + ioPath("x")).utf8string(), "/musicx");
}

TEST(ioPath, StreamsTheTextUnquoted)
{
    std::ostringstream out;
    out << ioPath("/tmp/with space/a.cda");
    EXPECT_EQ(out.str(), "/tmp/with space/a.cda");
}

TEST(ioPath, TypeTestsTellFilesDirectoriesAndMissingPaths)
{
    const boost::filesystem::path directory =
        boost::filesystem::temp_directory_path() / boost::filesystem::unique_path("iopath-%%%%-%%%%");
    boost::filesystem::create_directory(directory);
    std::ofstream(ioPath(directory / "f.cda").utf8string()) << "x";

    EXPECT_TRUE(ioPath(directory).is_directory());
    EXPECT_FALSE(ioPath(directory).is_regular_file());
    EXPECT_TRUE(ioPath(directory / "f.cda").is_regular_file());
    EXPECT_TRUE(ioPath(directory / "f.cda").exists());
    EXPECT_FALSE(ioPath(directory / "missing").exists());
    EXPECT_FALSE(ioPath(directory / "missing").is_directory());
    EXPECT_FALSE(ioPath("").exists());
    boost::filesystem::remove_all(directory);
}

TEST(ioPath, AbsolutePathStartsAtTheRoot)
{
    const ioPath absolute = ioPath("relative/a.cda").absolute_path();
    EXPECT_EQ(absolute.utf8string().front(), '/');
    EXPECT_EQ(absolute.utf8string(), (boost::filesystem::current_path() / "relative/a.cda").string());
    EXPECT_EQ(ioPath("/dev/sr0").absolute_path().utf8string(), "/dev/sr0");
}

TEST(ioPath, MakePreferredKeepsPosixSeparators)
{
    ioPath path("/Volumes/Audio CD/Track01.cda");
    EXPECT_EQ(path.make_preferred().utf8string(), "/Volumes/Audio CD/Track01.cda");
}
