// Writes the seed corpus of fulltoc_reply_fuzzer: replies of typical discs, built in memory.
#include "fulltoc/FullTocReplyBuilder.h"
#include "fuzz/SeedCorpus.h"

#include <cueify/full_toc.h>

#include <vector>

namespace {

using fulltoc::ReplyBuilder;

ReplyBuilder audioDisc()
{
    ReplyBuilder reply(1, 1);
    reply.session(1, 0, 1, 3, CUEIFY_SESSION_MODE_1, 12, 30, 70);
    reply.track(1, 0, 1, 0, 2, 0);
    reply.track(1, CUEIFY_TOC_TRACK_PERMITS_COPYING, 2, 4, 10, 33);
    return reply.track(1, CUEIFY_TOC_TRACK_HAS_PREEMPHASIS, 3, 8, 0, 12);
}

ReplyBuilder enhancedCd()
{
    ReplyBuilder reply(1, 2);
    reply.session(1, 0, 1, 2, CUEIFY_SESSION_MODE_1, 20, 0, 0);
    reply.track(1, 0, 1, 0, 2, 0);
    reply.track(1, 0, 2, 9, 40, 50);
    reply.item(1, fulltoc::kAdrPointers, 0, 0xB0, 24, 0, 0);
    reply.item(1, fulltoc::kAdrPointers, 0, 0xC0, 0x80, 0, 0);
    reply.session(2, CUEIFY_TOC_TRACK_IS_DATA, 3, 3, CUEIFY_SESSION_MODE_2, 30, 0, 0);
    return reply.track(2, CUEIFY_TOC_TRACK_IS_DATA, 3, 22, 34, 0);
}

ReplyBuilder dataFirstDisc()
{
    ReplyBuilder reply(1, 1);
    reply.session(1, CUEIFY_TOC_TRACK_IS_DATA, 1, 2, CUEIFY_SESSION_MODE_1, 30, 0, 0);
    reply.track(1, CUEIFY_TOC_TRACK_IS_DATA, 1, 0, 2, 0);
    return reply.track(1, 0, 2, 10, 0, 0);
}

ReplyBuilder bcdDisc()
{
    ReplyBuilder reply(1, 1);
    reply.session(1, 0, 0x01, 0x10, CUEIFY_SESSION_MODE_1, 0x09, 0x59, 0x74);
    reply.track(1, 0, 0x01, 0x00, 0x02, 0x00);
    return reply.track(1, 0, 0x10, 0x04, 0x45, 0x33);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<uint8_t> truncated = audioDisc().bytes();
    truncated.resize(truncated.size() - 5);
    return fuzzsupport::writeSeeds(argc, argv,
                                   {{"audio-disc", audioDisc().bytes()},
                                    {"enhanced-cd", enhancedCd().bytes()},
                                    {"data-first", dataFirstDisc().bytes()},
                                    {"bcd-disc", bcdDisc().bytes()},
                                    {"truncated", truncated}});
}
