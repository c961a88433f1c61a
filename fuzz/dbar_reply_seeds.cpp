// Writes the dBAR reply fuzzer's seeds: a reply of one response, one of two, and a truncated one.
#include "fuzz/SeedCorpus.h"

#include <cstdint>
#include <vector>

namespace {

std::vector<uint8_t> response(uint8_t tracks, uint8_t confidence)
{
    std::vector<uint8_t> bytes = {tracks, 0x90, 0x0b, 0, 0, 0x71, 0x26, 0, 0, 0x03, 0x13, 0, 0x10};
    for (uint8_t t = 0; t < tracks; ++t)
        bytes.insert(bytes.end(),
                     {confidence, static_cast<uint8_t>(t), 0x87, 0x4b, 0x53, 0x8a, 0x79, 0x0a, 0x03});
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<uint8_t> two = response(3, 5);
    const std::vector<uint8_t> second = response(3, 0);
    two.insert(two.end(), second.begin(), second.end());
    std::vector<uint8_t> truncated = response(12, 200);
    truncated.resize(truncated.size() - 4);
    return fuzzsupport::writeSeeds(
        argc, argv, {{"one-response", response(3, 5)}, {"two-responses", two}, {"truncated", truncated}});
}
