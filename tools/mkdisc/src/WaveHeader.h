// The 44-byte header of a RIFF/WAVE file holding CD audio: PCM, 2 channels, 44,100 Hz, 16 bits.
#pragma once

#include <array>
#include <cstdint>

namespace mkdisc {

// Throws std::invalid_argument when the data is too large for a RIFF file.
std::array<uint8_t, 44> waveHeader(uint64_t dataBytes);

} // namespace mkdisc
