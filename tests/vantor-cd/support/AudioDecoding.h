// Reads back the audio files vantor-cd writes: through FFmpeg's decoders, and a WAV file's
// data chunk byte for byte.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vantorcd::test {

struct DecodedAudio
{
    std::string container; // FFmpeg's name of the demuxer
    std::string codec;
    int sampleRate = 0;
    int channels = 0;
    std::vector<uint8_t> pcm; // signed 16-bit little-endian, interleaved
};

// Throws std::runtime_error when the file does not decode as 16-bit audio.
DecodedAudio decodeAudioFile(const std::filesystem::path& path);

// The bytes of the "data" chunk of a RIFF WAVE file; throws std::runtime_error when there is none.
std::vector<uint8_t> waveDataChunk(const std::filesystem::path& path);

} // namespace vantorcd::test
