// Where a RIFF WAVE data file keeps its samples. Only the format of a CD's audio is accepted:
// PCM, 16 bits, two channels, 44,100 Hz, plain or as WAVE_FORMAT_EXTENSIBLE.
#pragma once

#include "image/FileDescriptor.h"
#include "image/PcmData.h"

namespace cueify {

// True when the file starts as a RIFF WAVE file.
bool isRiffWave(const FileDescriptor& file) noexcept;

// Throws Failure (CUEIFY_ERR_NO_DEVICE) for a file that is no RIFF WAVE, has no "data" chunk after its
// "fmt " chunk, or holds samples in any other format.
PcmData findWaveSamples(const FileDescriptor& file);

} // namespace cueify
