// BINARY and MOTOROLA data files: bytes as they are, or 16-bit samples swapped; read ahead in
// large blocks while read in order, yet never past the file's end as it is at the moment.
#include "AudioFiles.h"

namespace cueify::test {
namespace {

constexpr uint32_t kSectors = 600; // more than two blocks read ahead

std::string swappedSamples(std::string bytes)
{
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

std::string sectorOf(const std::string& bytes, uint64_t sector)
{
    return bytes.substr(sector * kRawSectorBytes, kRawSectorBytes);
}

TEST(RawDataFile, MotorolaSamplesComeBackLittleEndianAndBinaryAsStored)
{
    const std::string samples = cdSamples(kSectors * 588);
    testsupport::ScratchDirectory scratch;
    const fs::path path = scratch.write("t.bin", swappedSamples(samples));
    EXPECT_TRUE(readInOrder(*openDataFile(path, DataFileType::Motorola, "t.bin")) == samples);
    EXPECT_TRUE(readInOrder(*openDataFile(path, DataFileType::Binary, "t.bin")) == swappedSamples(samples));
}

TEST(RawDataFile, ReadsOutOfOrderAndBackInOrderGiveTheSectorsAsStored)
{
    const std::string bytes = cdSamples(kSectors * 588);
    testsupport::ScratchDirectory scratch;
    const auto file = openDataFile(scratch.write("t.bin", bytes), DataFileType::Binary, "t.bin");
    for (const uint64_t sector : {500u, 3u, 4u, 5u, 300u, 6u, 599u, 0u, 1u})
        EXPECT_TRUE(readBytes(*file, sector * kRawSectorBytes, kRawSectorBytes) == sectorOf(bytes, sector))
            << "sector " << sector;
}

// The sectors past the new end were read ahead before the file shrank; they must fail all the same.
TEST(RawDataFile, TruncatedWhileReadInOrderGivesWholeSectorsUpToTheNewEndAndFailsPastIt)
{
    const std::string bytes = cdSamples(kSectors * 588);
    testsupport::ScratchDirectory scratch;
    const fs::path path = scratch.write("t.bin", bytes);
    const auto file = openDataFile(path, DataFileType::Binary, "t.bin");
    for (uint64_t sector = 0; sector < 10; ++sector)
        ASSERT_TRUE(readBytes(*file, sector * kRawSectorBytes, kRawSectorBytes) == sectorOf(bytes, sector));
    fs::resize_file(path, 100 * kRawSectorBytes + 1000);
    for (uint64_t sector = 10; sector < 100; ++sector)
        ASSERT_TRUE(readBytes(*file, sector * kRawSectorBytes, kRawSectorBytes) == sectorOf(bytes, sector))
            << "sector " << sector;
    EXPECT_EQ(readBytes(*file, 100 * kRawSectorBytes, kRawSectorBytes), "read failed");
    EXPECT_EQ(readBytes(*file, 101 * kRawSectorBytes, kRawSectorBytes), "read failed");
}

} // namespace
} // namespace cueify::test
