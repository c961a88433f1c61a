// Where the samples of an uncompressed audio file lie, and in which byte order.
#pragma once

#include <cstdint>

namespace cueify {

enum class SampleOrder
{
    AsStored,
    Swapped // 16-bit samples stored big-endian
};

struct PcmData
{
    uint64_t offset = 0; // of the first sample byte
    uint64_t bytes = 0;  // as the file's header says, cut to the whole sample frames the file holds
    SampleOrder order = SampleOrder::AsStored;
};

} // namespace cueify
