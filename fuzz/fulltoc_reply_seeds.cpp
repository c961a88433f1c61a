// Writes the seed corpus of fulltoc_reply_fuzzer: replies of typical discs, built in memory.
#include "fulltoc/FullTocReplyBuilder.h"
#include "fuzz/SeedCorpus.h"

#include <vector>

using namespace fulltoc;

int main(int argc, char** argv)
{
    std::vector<uint8_t> truncated = audioDisc();
    truncated.resize(truncated.size() - 5);
    return fuzzsupport::writeSeeds(argc, argv,
                                   {{"audio-disc", audioDisc()},
                                    {"enhanced-cd", enhancedCd()},
                                    {"data-first", dataFirstDisc()},
                                    {"bcd-disc", bcdDisc()},
                                    {"truncated", truncated}});
}
