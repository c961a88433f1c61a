#include "mkdisc/CdaFile.h"

#include "TempDirectory.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mkdisc {
namespace {

constexpr uint32_t kMinute = 4500;

TEST(CdaFile, EncodesTheFortyFourByteLayout)
{
    // Track 5 starting at LBA 33 (00:02:33) and 16,000 sectors (03:33:25) long.
    const std::array<uint8_t, 44> expected = {
        'R',  'I',  'F',  'F',  0x24, 0x00, 0x00, 0x00, 'C',  'D',  'D',  'A',  'f',  'm',  't',
        ' ',  0x18, 0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x00, 0x78, 0x56, 0x34, 0x12, 0x21, 0x00,
        0x00, 0x00, 0x80, 0x3E, 0x00, 0x00, 0x21, 0x02, 0x00, 0x00, 0x19, 0x21, 0x03, 0x00};
    EXPECT_EQ(encodeCdaFile({5, 0x12345678, 33, 16000}), expected);
}

struct SerialCase
{
    const char* name;
    std::vector<uint32_t> audioStarts;
    uint32_t leadOut;
    uint32_t serial;
};

void PrintTo(const SerialCase& serialCase, std::ostream* out)
{
    *out << serialCase.name;
}

class CdaSerial : public testing::TestWithParam<SerialCase>
{
};

TEST_P(CdaSerial, FollowsTheTrackCountRule)
{
    EXPECT_EQ(cdaSerialNumber(GetParam().audioStarts, GetParam().leadOut), GetParam().serial);
}

INSTANTIATE_TEST_SUITE_P(
    CdaFile, CdaSerial,
    testing::Values(
        // One or two tracks: the lead-out address 04:28:50, 06:42:00.
        SerialCase{"OneTrackPacksTheLeadOut", {150}, 20150, 0x00041C32},
        SerialCase{"TwoTracksPackTheLeadOut", {150, 10150}, 30150, 0x00062A00},
        // Three tracks: 00:02:00 + 01:02:00 + 02:02:00, the lead-out plays no part.
        SerialCase{"ThreeTracksSumTheirStarts", {150, kMinute + 150, 2 * kMinute + 150}, 99999, 0x00030600},
        // 0x8000 minutes packs to 0x80000000; two of them wrap to 0, leaving 00:01:00.
        SerialCase{"SumWrapsAtThirtyTwoBits", {0x8000 * kMinute, 0x8000 * kMinute, 75}, 0, 0x00000100}),
    [](const testing::TestParamInfo<SerialCase>& info) { return info.param.name; });

TEST(CdaFile, WritesTrackFileNamedWithTwoDigits)
{
    test::TempDirectory directory;
    const CdaTrack track{7, 0xCAFE, 1000, 2000};
    const std::filesystem::path written = writeCdaFile(directory.path(), track);
    EXPECT_EQ(written, directory.path() / "Track07.cda");
    const std::array<uint8_t, 44> expected = encodeCdaFile(track);
    EXPECT_EQ(test::readBytes(written), std::vector<uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(test::fileNamesIn(directory.path()), std::vector<std::string>{"Track07.cda"});
}

TEST(CdaFile, WriteIntoMissingDirectoryNamesTheFile)
{
    test::TempDirectory directory;
    const std::filesystem::path missing = directory.path() / "missing";
    try {
        writeCdaFile(missing, {1, 0, 0, 1});
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot create " + (missing / "Track01.cda").string() + ": No such file or directory");
    }
}

} // namespace
} // namespace mkdisc
