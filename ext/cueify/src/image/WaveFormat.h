// Where a WAVE data file keeps its samples. Only the format of a CD's audio is accepted:
// PCM, 16 bits, two channels, 44,100 Hz.
#pragma once

#include "image/FileDescriptor.h"

#include <cstdint>

namespace cueify {

struct PcmData
{
    uint64_t offset = 0; // of the first sample byte
    uint64_t bytes = 0;  // as the data chunk says, cut to what the file holds
};

// Throws ImageError for a file that is no RIFF WAVE, has no "data" chunk after its
// "fmt " chunk, or holds samples in any other format.
PcmData findCdAudioSamples(const FileDescriptor& file);

} // namespace cueify
