// The one sample format a CD holds: 44,100 Hz, 16 bits, two channels. Every audio data file
// is checked against it, whatever its container.
#pragma once

#include <cstdint>
#include <string>

namespace cueify {

constexpr uint32_t kCdSampleRate = 44100;
constexpr uint32_t kCdBitsPerSample = 16;
constexpr uint32_t kCdChannels = 2;
constexpr uint32_t kCdBytesPerSampleFrame = kCdChannels * kCdBitsPerSample / 8;

struct SampleFormat
{
    uint32_t rate = 0; // Hz
    uint32_t bits = 0; // per sample of one channel
    uint32_t channels = 0;
};

// Throws Failure (CUEIFY_ERR_NO_DEVICE) saying what differs, as in "not 44,100 Hz 16-bit stereo (48,000 Hz,
// mono)".
void requireCdAudio(const SampleFormat& format);

// A count as a reader writes it: 44,100.
std::string withThousands(uint64_t value);

} // namespace cueify
