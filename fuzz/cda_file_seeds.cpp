// Writes the seed corpus of cda_file_fuzzer: .cda files of every track of the fake disc, each
// failure the environment byte can inject, and files that fail validation or end early.
#include "fuzz/FakeDisc.h"
#include "fuzz/SeedCorpus.h"

#include "mkdisc/CdaFile.h"

#include <string>
#include <vector>

namespace {

using fuzzsupport::Seed;

std::vector<uint8_t> cdaFile(uint16_t track, uint32_t serial)
{
    const auto bytes = mkdisc::encodeCdaFile({track, serial, 0, 375});
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<uint8_t> withEnvironment(std::vector<uint8_t> bytes, uint8_t environment)
{
    bytes.push_back(environment);
    return bytes;
}

std::vector<uint8_t> withByte(std::vector<uint8_t> bytes, size_t offset, uint8_t value)
{
    bytes.at(offset) = value;
    return bytes;
}

std::vector<Seed> seeds()
{
    const uint32_t serial = fuzzsupport::kFakeDiscSerial;
    std::vector<Seed> result;
    for (uint16_t track : {1, 2, 3, 4, 0, 99, 257})
        result.push_back({"track-" + std::to_string(track), cdaFile(track, serial)});
    for (uint8_t failure = 1; failure < 8; ++failure)
        result.push_back(
            {"failure-" + std::to_string(failure), withEnvironment(cdaFile(1, serial), failure)});
    result.push_back({"data-track-mode-1", withEnvironment(cdaFile(3, serial), 1 << 3)});
    result.push_back({"other-disc", cdaFile(1, serial + 1)});
    result.push_back({"lower-case-riff", withByte(cdaFile(1, serial), 0, 'r')});
    result.push_back({"riff-size-38", withByte(cdaFile(1, serial), 4, 38)});
    result.push_back({"version-2", withByte(cdaFile(1, serial), 20, 2)});
    std::vector<uint8_t> shortFile = cdaFile(1, serial);
    shortFile.resize(22);
    result.push_back({"ends-after-version", shortFile});
    result.push_back({"empty", {}});
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    return fuzzsupport::writeSeeds(argc, argv, seeds());
}
