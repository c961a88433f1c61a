// Writes the seed corpus of data_file_header_fuzzer: WAVE files plain and extensible, with a chunk
// of odd size, and AIFF and AIFC files big- and little-endian, each holding a few samples.
#include "fuzz/SeedCorpus.h"
#include "wave/WaveFile.h"

#include <string>
#include <vector>

namespace {

using fuzzsupport::Seed;
using namespace wavefile;
using namespace std::string_literals;

std::string number(uint32_t value, int bytes, bool bigEndian)
{
    std::string text;
    for (int i = 0; i < bytes; ++i)
        text += static_cast<char>(value >> (8 * (bigEndian ? bytes - 1 - i : i)) & 0xFF);
    return text;
}

std::string formChunk(const std::string& id, const std::string& data)
{
    return id + number(static_cast<uint32_t>(data.size()), 4, true) + data + (data.size() % 2 ? "\0"s : "");
}

const std::string kSamples(64, '\x11');

std::string aiff(const std::string& form, const std::string& compression)
{
    // 44,100 Hz as an 80-bit extended number: exponent 16383 + 15, mantissa 44100 << 48.
    const std::string rate = "\x40\x0E\xAC\x44\x00\x00\x00\x00\x00\x00"s;
    const std::string common =
        number(2, 2, true) + number(16, 4, true) + number(16, 2, true) + rate + compression;
    const std::string chunks =
        formChunk("COMM", common) + formChunk("SSND", number(0, 4, true) + number(0, 4, true) + kSamples);
    return "FORM" + number(static_cast<uint32_t>(4 + chunks.size()), 4, true) + form + chunks;
}

std::vector<Seed> seeds()
{
    using fuzzsupport::bytesOf;
    return {
        {"wave", bytesOf(riffWave(plainFormat() + chunk("data", kSamples)))},
        {"wave-extensible", bytesOf(riffWave(extensibleFormat(1) + chunk("data", kSamples)))},
        {"wave-odd-chunk", bytesOf(riffWave(plainFormat() + chunk("LIST", "odd") + chunk("data", kSamples)))},
        {"aiff", bytesOf(aiff("AIFF", ""))},
        {"aifc-none", bytesOf(aiff("AIFC", "NONE\0\0"s))},
        {"aifc-sowt", bytesOf(aiff("AIFC", "sowt\0\0"s))}};
}

} // namespace

int main(int argc, char** argv)
{
    return fuzzsupport::writeSeeds(argc, argv, seeds());
}
