// Writes the seed corpus of one fuzz target: `fuzz_seeds <target> <corpus directory>`. Seeds are
// well-formed inputs of each parser, built here, and the near misses it must refuse.
#include "ScratchDirectory.h"
#include "cueify_testing/CdTextTesting.h"
#include "fulltoc/FullTocReplyBuilder.h"
#include "fuzz/CueImageDiscs.h"
#include "fuzz/ParserFuzzing.h"
#include "wave/WaveFile.h"

#include "mkdisc/CdaFile.h"
#include "mkdisc/DiscWriter.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

namespace {

using namespace std::string_literals;
using Seeds = std::map<std::string, std::string>;

// .cda files of the fake disc's tracks, each failure the environment byte after them can inject,
// and files that fail validation or end early.
Seeds cdaFileSeeds()
{
    const auto cda = [](uint16_t track, uint32_t serial = fuzzsupport::kFakeDiscSerial) {
        const auto bytes = mkdisc::encodeCdaFile({track, serial, 0, 375});
        return std::string(bytes.begin(), bytes.end());
    };
    Seeds seeds = {{"other-disc", cda(1, fuzzsupport::kFakeDiscSerial + 1)},
                   {"data-track-mode-1", cda(3) + char(1 << 3)},
                   {"track-in-lead-in", cda(4)},
                   {"track-257", cda(257)},
                   {"version-2", cda(1).replace(20, 1, 1, 2)},
                   {"ends-after-version", cda(1).substr(0, 22)}};
    for (char failure = 0; failure < 8; ++failure)
        seeds["failure-" + std::to_string(failure)] = cda(1) + failure;
    return seeds;
}

// The CUE sheets the disc-image writer writes for the fuzzer's images, and sheets that name no
// usable data file.
Seeds cueSheetSeeds()
{
    const testsupport::ScratchDirectory scratch;
    Seeds seeds = {
        {"missing-file.cue", "FILE \"absent.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"},
        {"itself.cue", "FILE \"fuzzed.cue\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"},
        // Found by fuzzing: a last track without lines, refused only after the sheet was parsed.
        {"last-track-without-lines.cue", "FILE \"wave (Track 01).wav\" WAVE\n  TRACK 01 AUDIO"},
        // Found by fuzzing: remarks that hold keywords, which an earlier reader took for syntax errors.
        {"remark-with-rem.cue", "FILE n BINARY\nTRACK 1 AUDIO\nINDEX 1 0:0:1\nREM GENREc REM"}};
    for (const mkdisc::DiscDescription& disc : fuzzsupport::cueImageDiscs()) {
        std::ifstream sheet(mkdisc::writeDisc(disc, scratch.path()).cueSheet, std::ios::binary);
        seeds[disc.name + ".cue"] = {std::istreambuf_iterator<char>(sheet), std::istreambuf_iterator<char>()};
    }
    return seeds;
}

// WAVE files plain and extensible, with a chunk of odd size, and AIFF and AIFC files big- and
// little-endian, each holding a few samples.
Seeds dataFileHeaderSeeds()
{
    const auto bigEndian = [](size_t value, int bytes) {
        const std::string text = wavefile::littleEndian(static_cast<uint32_t>(value), bytes);
        return std::string(text.rbegin(), text.rend());
    };
    const std::string samples(64, '\x11');
    // Two channels of 16 sample frames of 16 bits, at 44,100 Hz as an 80-bit extended number
    // (exponent 16383 + 15, mantissa 44100 << 48); the AIFC compression type after it.
    const auto aiff = [&](const std::string& form, const std::string& compression) {
        const std::string common = "\0\x02\0\0\0\x10\0\x10\x40\x0E\xAC\x44\0\0\0\0\0\0"s + compression;
        const std::string chunks = "COMM" + bigEndian(common.size(), 4) + common + "SSND" +
                                   bigEndian(8 + samples.size(), 4) + std::string(8, '\0') + samples;
        return "FORM" + bigEndian(4 + chunks.size(), 4) + form + chunks;
    };
    using namespace wavefile;
    return {{"wave", riffWave(plainFormat() + chunk("data", samples))},
            {"wave-extensible", riffWave(extensibleFormat(1) + chunk("data", samples))},
            {"wave-odd-chunk", riffWave(plainFormat() + chunk("LIST", "odd") + chunk("data", samples))},
            {"aiff", aiff("AIFF", "")},
            {"aifc-none", aiff("AIFC", "NONE\0\0"s)},
            {"aifc-sowt", aiff("AIFC", "sowt\0\0"s)}};
}

// dBAR replies of one response, of two, and one cut short.
Seeds dbarReplySeeds()
{
    const auto response = [](uint8_t tracks, uint8_t confidence) {
        std::string bytes = "\x00\x90\x0b\x00\x00\x71\x26\x00\x00\x03\x13\x00\x10"s;
        bytes[0] = static_cast<char>(tracks);
        for (uint8_t t = 0; t < tracks; ++t)
            bytes += std::string{char(confidence), char(t)} + "\x87\x4b\x53\x8a\x79\x0a\x03";
        return bytes;
    };
    return {{"one-response", response(3, 5)},
            {"two-responses", response(3, 5) + response(3, 0)},
            {"truncated", response(12, 200).substr(0, 13 + 12 * 9 - 4)}};
}

// Full-TOC replies of typical discs, and one cut short.
Seeds fullTocReplySeeds()
{
    const auto text = [](const std::vector<uint8_t>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    };
    return {{"audio-disc", text(fulltoc::audioDisc())},
            {"enhanced-cd", text(fulltoc::enhancedCd())},
            {"bcd-disc", text(fulltoc::bcdDisc())},
            {"truncated", text(fulltoc::audioDisc()).substr(0, fulltoc::audioDisc().size() - 5)}};
}

// A disc's CD-Text in two blocks, built pack by pack, a header alone, and the packs cut short.
Seeds cdTextPacksSeeds()
{
    const std::vector<uint8_t> packs = cueify::test::twoBlockDisc();
    return {{"two-blocks", std::string(packs.begin(), packs.end())},
            {"header-only", "\x00\x02\x00\x00"s},
            {"truncated", std::string(packs.begin(), packs.end() - 7)}};
}

// Track paths as the disc reader writes them, and near misses the open must refuse.
Seeds trackPathSeeds()
{
    return {{"track-2-upper-case", "cdda:///dev/sr0#track2.CDA"},
            {"data-track", "cdda:///dev/sr0#track3.cda"},
            {"image-drive", "cdda:///music/Tracks/album.cue#track01.cda"},
            {"prefix-inside", "/library/cdda:///dev/sr1#track2.cda"},
            {"too-large", "cdda:///dev/sr0#track99999999999.cda"},
            {"empty-drive", "cdda://#track1.cda"}};
}

} // namespace

int main(int argc, char** argv)
{
    const std::map<std::string, std::function<Seeds()>> targets = {
        {"cda_file_fuzzer", cdaFileSeeds},
        {"cue_sheet_fuzzer", cueSheetSeeds},
        {"data_file_header_fuzzer", dataFileHeaderSeeds},
        {"dbar_reply_fuzzer", dbarReplySeeds},
        {"fulltoc_reply_fuzzer", fullTocReplySeeds},
        {"cdtext_packs_fuzzer", cdTextPacksSeeds},
        {"track_path_fuzzer", trackPathSeeds}};
    if (argc != 3 || targets.count(argv[1]) == 0) {
        std::fprintf(stderr, "usage: %s <fuzz target> <corpus directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path directory(argv[2]);
    std::filesystem::create_directories(directory);
    for (const auto& [name, bytes] : targets.at(argv[1])()) {
        std::ofstream(directory / name, std::ios::binary | std::ios::trunc) << bytes;
        if (std::filesystem::file_size(directory / name) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s into %s\n", name.c_str(), directory.string().c_str());
            return 1;
        }
    }
    return 0;
}
