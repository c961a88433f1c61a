#include "Vantor/Core/Interfaces/ioPath.h"

#include <gtest/gtest.h>

#include <string>

using Vantor::ioPath;

TEST(ioPath, Utf8TextRoundTripsThroughEveryConstructor)
{
    const std::string text = "/tmp/M\xC3\xBCnchen/\xE3\x83\x88\xE3\x83\xA9\xE3\x83\x83\xE3\x82\xAF.CDA";
    EXPECT_EQ(ioPath(text).utf8string(), text);
    EXPECT_EQ(ioPath(text.c_str()).utf8string(), text);
    EXPECT_EQ(ioPath(boost::filesystem::path(text)).utf8string(), text);
    EXPECT_EQ(ioPath(text).extension().utf8string(), ".CDA");
    EXPECT_TRUE(ioPath(static_cast<const char*>(nullptr)).empty());
}

TEST(ioPath, PlusJoinsTheTextsWithNothingBetween)
{
    const ioPath joined = ioPath("cdda://") + ioPath("/dev/sr0") + ioPath("#track") + ioPath("7.cda");
    EXPECT_EQ(joined.utf8string(), "cdda:///dev/sr0#track7.cda");
    EXPECT_EQ((ioPath("/music/") + ioPath("/x")).utf8string(), "/music//x");
}
