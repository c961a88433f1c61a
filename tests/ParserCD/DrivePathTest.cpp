#include "Vantor/Proc/Parsers/ParserCD/Private/MountInfo.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/RawDeviceName.h"

#include "ParserCDFixture.h"

#include <sstream>

namespace {

TEST(DrivePath, RawDeviceNameInsertsRAfterTheFifthCharacter)
{
    EXPECT_EQ(Vantor::Proc::RawDeviceName("/dev/disk3"), "/dev/rdisk3");
    EXPECT_EQ(Vantor::Proc::RawDeviceName("/dev/"), "/dev/r");
    EXPECT_THROW(Vantor::Proc::RawDeviceName("/dev"), std::out_of_range);
}

TEST(DrivePath, MountSourceIsFoundByDeviceNumberWithEscapesDecoded)
{
    const std::string mountInfo = "garbage line\n"
                                  "26 1 254:0 / / rw,relatime shared:1 master:2 - ext4 /dev/vda rw\n"
                                  "27 26 254:0 /srv /srv rw - ext4 /dev/vda-bind rw\n"
                                  "41 26 7:3 / /media/x ro - udf /dev/My\\040Drive\\134x ro\n"
                                  "42 26 8:1 / /broken rw no-separator ext4 /dev/sda1\n";
    const std::tuple<unsigned, unsigned, std::optional<std::string>> cases[] = {
        {254, 0, "/dev/vda"}, {7, 3, "/dev/My Drive\\x"}, {8, 1, std::nullopt}, {25, 40, std::nullopt}};
    for (const auto& [major, minor, source] : cases) {
        std::istringstream in(mountInfo);
        EXPECT_EQ(Vantor::Proc::FindMountSource(in, major, minor), source) << major << ':' << minor;
    }
}

} // namespace
