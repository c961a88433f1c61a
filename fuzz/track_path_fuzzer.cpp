// Feeds arbitrary strings to a parser open as the path of its data input, the way a host hands
// back a track path that the disc reader wrote. Every drive name opens the fake disc of the
// in-memory cueify fake. Whatever the path, the open either succeeds or throws, and no device or
// TOC handle outlives the parser.
#include "fuzz/ParserFuzzing.h"

#include <cstddef>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::silenceLogging();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::setUpFakeDisc(0);
    fuzzsupport::openAndPlay(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
