// Writes the seed corpus of cdtext_packs_fuzzer: CD-Text of typical discs, built pack by pack.
#include "cueify_testing/CdTextTesting.h"
#include "fuzz/SeedCorpus.h"

namespace {

using cueify::test::bytes;
using cueify::test::PackBuilder;

std::vector<uint8_t> englishDisc()
{
    PackBuilder packs;
    packs.block(0, CUEIFY_CDTEXT_CHARSET_ISO8859_1, 1, 3, 0x01, CUEIFY_CDTEXT_LANG_ENGLISH);
    packs.text(0x80, 0,
               {{0, bytes("Harbour\0")}, {1, bytes("Ebb\0")}, {2, bytes("\t\0")}, {3, bytes("Pier\0")}});
    packs.text(0x81, 0, {{0, bytes("Quay\0")}, {1, bytes("\t\0")}, {2, bytes("\0")}, {3, bytes("Ada\0")}});
    packs.text(0x86, 0, {{0, bytes("HL-1\0")}});
    packs.text(0x87, 0, {{0, bytes("\x00\x0eJazz\0")}});
    packs.add({0x88, 0, 0, 0, false, {1, 3, 0, 10, 0, 0}});
    packs.add({0x88, 1, 0, 0, false, {0, 2, 0, 3, 10, 20, 6, 40, 5}});
    packs.add({0x89, 2, 0, 0, false, {1, 1, 0, 0, 0, 0, 3, 10, 20, 4, 0, 0}});
    packs.text(0x8E, 0,
               {{0, bytes("0012345678905\0")}, {1, bytes("\0")}, {2, bytes("\0")}, {3, bytes("\0")}});
    return packs.finish();
}

std::vector<uint8_t> japaneseSecondBlock()
{
    PackBuilder packs;
    packs.block(0, CUEIFY_CDTEXT_CHARSET_ASCII, 1, 2, 0, CUEIFY_CDTEXT_LANG_ENGLISH);
    packs.text(0x80, 0, {{0, bytes("Lights\0")}, {1, bytes("One\0")}, {2, bytes("Two\0")}});
    packs.block(1, CUEIFY_CDTEXT_CHARSET_MSJIS, 1, 2, 0, CUEIFY_CDTEXT_LANG_JAPANESE);
    packs.text(0x80, 1,
               {{0, bytes("\x8d\x60\0\0")}, {1, bytes("\x09\x09\0\0")}, {2, bytes("\x00\xb1\x87\x40\0\0")}},
               true);
    return packs.finish();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<uint8_t> truncated = englishDisc();
    truncated.resize(truncated.size() - 7);
    return fuzzsupport::writeSeeds(argc, argv,
                                   {{"english-disc", englishDisc()},
                                    {"japanese-second-block", japaneseSecondBlock()},
                                    {"header-only", {0x00, 0x02, 0x00, 0x00}},
                                    {"truncated", truncated}});
}
