#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <ostream>

namespace cueify::test {
namespace {

const char* kWaveSheet = "FILE \"disc.wav\" WAVE\n"
                         "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                         "  TRACK 02 AUDIO\n    INDEX 00 00:00:30\n    INDEX 01 00:00:40\n";

TEST(WaveFormat, WaveImageReadsTheSameBytesAsTheBinaryImage)
{
    TempDir dir;
    const std::string pcm = patternBytes(3, 60);
    writeFile(dir / "disc.wav", waveBytes(pcm));
    writeFile(dir / "disc.bin", pcm);
    writeFile(dir / "wave.cue", kWaveSheet);
    std::string binarySheet = kWaveSheet;
    binarySheet.replace(0, std::string("FILE \"disc.wav\" WAVE").size(), "FILE \"disc.bin\" BINARY");
    writeFile(dir / "binary.cue", binarySheet);

    const DeviceOwner wave = openDevice((dir / "wave.cue").string());
    const DeviceOwner binary = openDevice((dir / "binary.cue").string());
    ASSERT_NE(wave, nullptr);
    ASSERT_NE(binary, nullptr);
    for (uint32_t lba = 0; lba < 60; ++lba) {
        ASSERT_EQ(readSector(wave.get(), lba), patternSector(3, lba)) << "sector " << lba;
        ASSERT_EQ(readSector(binary.get(), lba), patternSector(3, lba)) << "sector " << lba;
    }
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(readToc(wave.get()).get(), 1)), "00:02:60");
}

TEST(WaveFormat, PartialSampleSectorAtTheEndIsNotOnTheDisc)
{
    TempDir dir;
    writeFile(dir / "disc.wav", waveBytes(patternBytes(3, 10, 1000)));
    writeFile(dir / "disc.cue", "FILE \"disc.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    const DeviceOwner device = openDevice((dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(readToc(device.get()).get(), 1)), "00:02:10");
    uint8_t buffer[CUEIFY_RAW_SECTOR_SIZE];
    EXPECT_EQ(cueify_device_read_raw(device.get(), 10, buffer), CUEIFY_ERR_BADARG);
}

struct FormatCase
{
    const char* name;
    WaveFormatFields fields;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.name;
}

class OtherWaveFormat : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(OtherWaveFormat, IsRefused)
{
    TempDir dir;
    writeFile(dir / "disc.wav", waveBytes(patternBytes(3, 10), GetParam().fields));
    writeFile(dir / "disc.cue", "FILE \"disc.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    EXPECT_EQ(openResult((dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

INSTANTIATE_TEST_SUITE_P(WaveFormat, OtherWaveFormat,
                         ::testing::Values(FormatCase{"Mono", {1, 1, 44100, 16}},
                                           FormatCase{"FourChannels", {1, 4, 44100, 16}},
                                           FormatCase{"At48kHz", {1, 2, 48000, 16}},
                                           FormatCase{"EightBit", {1, 2, 44100, 8}},
                                           FormatCase{"TwentyFourBit", {1, 2, 44100, 24}},
                                           FormatCase{"Float", {3, 2, 44100, 32}},
                                           FormatCase{"Compressed", {2, 2, 44100, 16}}),
                         [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

struct DamagedCase
{
    const char* name;
    std::string bytes;
};

void PrintTo(const DamagedCase& c, std::ostream* os)
{
    *os << c.name;
}

class DamagedWave : public ::testing::TestWithParam<DamagedCase>
{};

TEST_P(DamagedWave, IsRefused)
{
    TempDir dir;
    writeFile(dir / "disc.wav", GetParam().bytes);
    writeFile(dir / "disc.cue", "FILE \"disc.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    EXPECT_EQ(openResult((dir / "disc.cue").string()), CUEIFY_ERR_NO_DEVICE);
}

std::string withoutFormatChunk()
{
    std::string bytes = waveBytes(patternBytes(3, 10));
    bytes.replace(12, 4, "junk"); // the "fmt " chunk becomes an unknown one
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    WaveFormat, DamagedWave,
    ::testing::Values(DamagedCase{"RawSamplesWithoutHeader", patternBytes(3, 10)},
                      DamagedCase{"HeaderCutShort", waveBytes(patternBytes(3, 10)).substr(0, 30)},
                      DamagedCase{"NoFormatChunk", withoutFormatChunk()},
                      DamagedCase{"NoDataChunk", waveBytes(patternBytes(3, 10)).substr(0, 52)}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return std::string(info.param.name); });

TEST(WaveFormat, DataChunkClaimingMoreThanTheFileHoldsEndsWithTheFile)
{
    TempDir dir;
    std::string bytes = waveBytes(patternBytes(3, 10));
    bytes.replace(bytes.size() - 10 * CUEIFY_RAW_SECTOR_SIZE - 4, 4, "\xFF\xFF\xFF\xFF"); // a streamed WAVE
    writeFile(dir / "disc.wav", bytes);
    writeFile(dir / "disc.cue", "FILE \"disc.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    const DeviceOwner device = openDevice((dir / "disc.cue").string());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(text(cueify_full_toc_get_session_leadout_address(readToc(device.get()).get(), 1)), "00:02:10");
    EXPECT_EQ(readSector(device.get(), 9), patternSector(3, 9));
}

} // namespace
} // namespace cueify::test
