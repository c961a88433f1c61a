// Writes the seed corpus of cue_sheet_fuzzer: the CUE sheets the disc-image writer writes for the
// fuzzer's images, and a few sheets that name no usable data file.
#include "ScratchDirectory.h"
#include "fuzz/CueImageDiscs.h"
#include "fuzz/SeedCorpus.h"

#include "mkdisc/DiscWriter.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using fuzzsupport::bytesOf;
using fuzzsupport::Seed;

std::vector<uint8_t> fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Seed> seeds()
{
    const testsupport::ScratchDirectory scratch;
    std::vector<Seed> result;
    for (const mkdisc::DiscDescription& disc : fuzzsupport::cueImageDiscs())
        result.push_back({disc.name + ".cue", fileBytes(mkdisc::writeDisc(disc, scratch.path()).cueSheet)});
    result.push_back({"missing-file.cue",
                      bytesOf("FILE \"absent.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n")});
    result.push_back(
        {"itself.cue", bytesOf("FILE \"fuzzed.cue\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n")});
    result.push_back({"no-track.cue", bytesOf("FILE \"album.bin\" BINARY\n")});
    result.push_back({"empty.cue", {}});
    // Found by fuzzing: a last track without lines, refused only after the sheet was parsed.
    result.push_back(
        {"last-track-without-lines.cue", bytesOf("FILE \"wave (Track 01).wav\" WAVE\n  TRACK 01 AUDIO")});
    // Found by fuzzing: remarks that hold keywords, which an earlier reader took for syntax errors.
    result.push_back(
        {"remark-with-rem.cue", bytesOf("FILE n BINARY\nTRACK 1 AUDIO\nINDEX 1 0:0:1\nREM GENREc REM")});
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    return fuzzsupport::writeSeeds(argc, argv, seeds());
}
