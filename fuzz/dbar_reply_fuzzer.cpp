// Feeds arbitrary bytes to the AccurateRip reply reader as a downloaded dBAR file: it either
// refuses the reply or accounts for every byte of it.
#include "DbarReply.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        size_t accounted = 0;
        for (const vantorcd::DbarResponse& response : vantorcd::parseDbarReply(data, size))
            accounted += 13 + 9 * response.tracks.size();
        if (accounted != size)
            __builtin_trap();
    } catch (const vantorcd::MalformedReply&) {
    }
    return 0;
}
