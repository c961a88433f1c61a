// Writes the seed corpus of cdtext_packs_fuzzer: a disc's CD-Text in two blocks, built pack by pack.
#include "cueify_testing/CdTextTesting.h"
#include "fuzz/SeedCorpus.h"

int main(int argc, char** argv)
{
    std::vector<uint8_t> truncated = cueify::test::twoBlockDisc();
    truncated.resize(truncated.size() - 7);
    return fuzzsupport::writeSeeds(argc, argv,
                                   {{"two-blocks", cueify::test::twoBlockDisc()},
                                    {"header-only", {0x00, 0x02, 0x00, 0x00}},
                                    {"truncated", truncated}});
}
