// BINARY and MOTOROLA data files: bytes as they are, or 16-bit samples swapped.
#include "AudioFiles.h"

namespace cueify::test {
namespace {

std::string swappedSamples(std::string bytes)
{
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

TEST(RawDataFile, MotorolaSamplesComeBackLittleEndianAndBinaryAsStored)
{
    const std::string samples = cdSamples(3 * 588);
    testsupport::ScratchDirectory scratch;
    const fs::path path = scratch.write("t.bin", swappedSamples(samples));
    EXPECT_TRUE(readInOrder(*openDataFile(path, DataFileType::Motorola, "t.bin")) == samples);
    EXPECT_TRUE(readInOrder(*openDataFile(path, DataFileType::Binary, "t.bin")) == swappedSamples(samples));
}

} // namespace
} // namespace cueify::test
