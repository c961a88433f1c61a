#include "mkdisc/DiscWriter.h"

#include "TempDirectory.h"
#include "TestDiscs.h"
#include "mkdisc/CdaFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace mkdisc {
namespace {

using test::audio;
using test::data;
using test::disc;

// Every feature: FLAGS, PREGAP, INDEX 00 in a later track, a second session with a data track.
DiscSpec everyFeatureDisc()
{
    TrackSpec first = audio(80);
    first.digitalCopyPermitted = first.fourChannel = first.preEmphasis = true;
    DiscSpec spec = disc({{{first, audio(90, 30, 20)}}, {{data(TrackMode::Mode1Raw, 40, 0, 10, 5)}}});
    spec.name = "demo";
    return spec;
}

uint32_t littleEndian(const std::vector<uint8_t>& bytes, size_t offset, size_t size)
{
    uint32_t value = 0;
    for (size_t i = size; i-- > 0;)
        value = value << 8 | bytes.at(offset + i);
    return value;
}

void expectSectorsInFile(const DiscSpec& spec, const std::vector<uint8_t>& file, uint32_t firstLba,
                         uint32_t sectors, size_t firstFileSector)
{
    for (uint32_t i = 0; i < sectors; ++i) {
        const Sector expected = sectorAt(spec, firstLba + i);
        const size_t offset = (firstFileSector + i) * kRawSectorSize;
        ASSERT_LE(offset + kRawSectorSize, file.size());
        ASSERT_EQ(std::memcmp(file.data() + offset, expected.data(), kRawSectorSize), 0)
            << "LBA " << firstLba + i;
    }
}

TEST(DiscWriter, BinaryHoldsStoredSectorsAtTheirFilePositions)
{
    test::TempDirectory directory;
    const DiscSpec spec = everyFeatureDisc();
    const WrittenDisc written = writeDisc(spec, directory.path());
    ASSERT_EQ(written.dataFiles, std::vector<std::filesystem::path>{directory.path() / "demo.bin"});
    const std::vector<uint8_t> file = test::readBytes(written.dataFiles[0]);
    EXPECT_EQ(file.size(), 250u * kRawSectorSize);
    expectSectorsInFile(spec, file, 0, 80, 0);       // track 1
    expectSectorsInFile(spec, file, 100, 120, 80);   // track 2 after 20 PREGAP sectors: INDEX 00 then 01
    expectSectorsInFile(spec, file, 11625, 50, 200); // session 2 at 220 + 11400, after 5 PREGAP sectors
}

TEST(DiscWriter, CueSheetDescribesEveryFeature)
{
    test::TempDirectory directory;
    const WrittenDisc written = writeDisc(everyFeatureDisc(), directory.path());
    EXPECT_EQ(written.cueSheet, directory.path() / "demo.cue");
    EXPECT_EQ(test::readText(written.cueSheet), "REM SESSION 01\n"
                                                "FILE \"demo.bin\" BINARY\n"
                                                "  TRACK 01 AUDIO\n"
                                                "    FLAGS DCP 4CH PRE\n"
                                                "    INDEX 01 00:00:00\n"
                                                "  TRACK 02 AUDIO\n"
                                                "    PREGAP 00:00:20\n"
                                                "    INDEX 00 00:01:05\n"
                                                "    INDEX 01 00:01:35\n"
                                                "REM SESSION 02\n"
                                                "  TRACK 03 MODE1/2352\n"
                                                "    PREGAP 00:00:05\n"
                                                "    INDEX 00 00:02:50\n"
                                                "    INDEX 01 00:02:60\n");
}

TEST(DiscWriter, FilePerTrackStartsEveryIndexInItsOwnFile)
{
    test::TempDirectory directory;
    DiscSpec spec = everyFeatureDisc();
    spec.filePerTrack = true;
    const WrittenDisc written = writeDisc(spec, directory.path());
    const std::string cue = test::readText(written.cueSheet);
    EXPECT_NE(cue.find("REM SESSION 02\nFILE \"demo (Track 03).bin\" BINARY\n  TRACK 03 MODE1/2352\n"
                       "    PREGAP 00:00:05\n    INDEX 00 00:00:00\n    INDEX 01 00:00:10\n"),
              std::string::npos)
        << cue;
    ASSERT_EQ(written.dataFiles.size(), 3u);
    EXPECT_EQ(written.dataFiles[1], directory.path() / "demo (Track 02).bin");
    expectSectorsInFile(spec, test::readBytes(written.dataFiles[1]), 100, 120, 0);
    expectSectorsInFile(spec, test::readBytes(written.dataFiles[2]), 11625, 50, 0);
}

TEST(DiscWriter, WaveFileHoldsTheBinarysBytesBehindACdAudioHeader)
{
    test::TempDirectory directory;
    DiscSpec spec = disc({{{audio(30), audio(20, 10, 5)}}});
    const std::vector<uint8_t> binary =
        test::readBytes(writeDisc(spec, directory.path() / "bin").dataFiles.at(0));
    spec.format = DataFileFormat::Wave;
    const WrittenDisc written = writeDisc(spec, directory.path() / "wav");
    ASSERT_EQ(written.dataFiles, std::vector<std::filesystem::path>{directory.path() / "wav" / "disc.wav"});
    const std::vector<uint8_t> wave = test::readBytes(written.dataFiles[0]);

    const uint32_t dataBytes = 60 * kRawSectorSize;
    ASSERT_EQ(wave.size(), 44 + dataBytes);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(littleEndian(wave, 4, 4), 36 + dataBytes);
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(littleEndian(wave, 16, 4), 16u);     // fmt chunk size
    EXPECT_EQ(littleEndian(wave, 20, 2), 1u);      // PCM
    EXPECT_EQ(littleEndian(wave, 22, 2), 2u);      // channels
    EXPECT_EQ(littleEndian(wave, 24, 4), 44100u);  // sample rate
    EXPECT_EQ(littleEndian(wave, 28, 4), 176400u); // bytes a second
    EXPECT_EQ(littleEndian(wave, 32, 2), 4u);      // block alignment
    EXPECT_EQ(littleEndian(wave, 34, 2), 16u);     // bits per sample
    EXPECT_EQ(std::string(wave.begin() + 36, wave.begin() + 40), "data");
    EXPECT_EQ(littleEndian(wave, 40, 4), dataBytes);
    EXPECT_TRUE(std::equal(binary.begin(), binary.end(), wave.begin() + 44));
    EXPECT_NE(test::readText(written.cueSheet).find("FILE \"disc.wav\" WAVE\n"), std::string::npos);
}

TEST(DiscWriter, CdaFilesStandForTheAudioTracksOnly)
{
    test::TempDirectory directory;
    // An enhanced CD: three audio tracks, then a data session that the .cda files do not see.
    const DiscSpec spec =
        disc({{{audio(1000), audio(1000, 150), audio(1000)}}, {{data(TrackMode::Mode1Raw, 100)}}});
    const WrittenDisc written = writeDisc(spec, directory.path());
    // 00:02:00 + 00:17:25 (LBA 1150) + 00:30:50 (LBA 2150).
    EXPECT_EQ(written.serial, 0x0200u + 0x1119u + 0x1E32u);
    const std::vector<CdaTrack> expected = {
        {1, written.serial, 0, 1150}, {2, written.serial, 1150, 1000}, {3, written.serial, 2150, 1000}};
    ASSERT_EQ(written.cdaFiles.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::array<uint8_t, 44> bytes = encodeCdaFile(expected[i]);
        EXPECT_EQ(written.cdaFiles[i].filename(), "Track0" + std::to_string(i + 1) + ".cda");
        EXPECT_EQ(test::readBytes(written.cdaFiles[i]), std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    EXPECT_EQ(
        test::fileNamesIn(directory.path()),
        (std::vector<std::string>{"Track01.cda", "Track02.cda", "Track03.cda", "disc.bin", "disc.cue"}));
}

TEST(DiscWriter, FailedRenameNamesTheFileAndLeavesNoTemporaryFile)
{
    test::TempDirectory directory;
    std::filesystem::create_directory(directory.path() / "disc.cue");
    try {
        writeDisc(disc({{{audio(10)}}}), directory.path());
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("to " + (directory.path() / "disc.cue").string() + ":"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(test::fileNamesIn(directory.path()), (std::vector<std::string>{"disc.bin", "disc.cue"}));
}

} // namespace
} // namespace mkdisc
