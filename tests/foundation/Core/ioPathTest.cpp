#include "Vantor/Core/Interfaces/ioPath.h"

#include <gtest/gtest.h>

#include <string>

using Vantor::ioPath;

TEST(ioPath, Utf8TextRoundTripsThroughEveryConstructorAndPlusJoinsTextsWithNothingBetween)
{
    const std::string text = "/tmp/M\xC3\xBCnchen/\xE3\x83\x88\xE3\x83\xA9\xE3\x83\x83\xE3\x82\xAF.CDA";
    for (const ioPath& path : {ioPath(text), ioPath(text.c_str()), ioPath(boost::filesystem::path(text))})
        EXPECT_EQ(path.utf8string() + " " + path.extension().utf8string(), text + " .CDA");
    EXPECT_TRUE(ioPath(static_cast<const char*>(nullptr)).empty());
    const ioPath joined = ioPath("cdda://") + ioPath("/dev/sr0") + ioPath("#track") + ioPath("7.cda");
    EXPECT_EQ((joined + ioPath("/x")).utf8string(), "cdda:///dev/sr0#track7.cda/x");
}
