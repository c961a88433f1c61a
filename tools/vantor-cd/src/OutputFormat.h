// The audio file a rip writes, chosen by the output's extension.
#pragma once

#include <filesystem>
#include <string>

namespace vantorcd {

enum class OutputKind
{
    Wave, // RIFF WAVE, PCM signed 16-bit little-endian
    Flac, // FLAC, lossless
    Aiff  // AIFF, PCM signed 16-bit big-endian
};

struct OutputFormat
{
    OutputKind kind;
    const char* muxerName;   // FFmpeg's name of the container
    const char* encoderName; // FFmpeg's name of the audio encoder
};

// Throws UserError naming the extension when it is none of .wav, .flac, .aif, .aiff (any case).
OutputFormat outputFormatFor(const std::filesystem::path& output);

} // namespace vantorcd
