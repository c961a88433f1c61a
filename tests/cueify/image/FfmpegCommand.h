// Data files made with the ffmpeg command from raw CD samples (16-bit little-endian stereo, 44.1 kHz).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace cueify::test {

// Encodes the raw samples of a file into out with the given ffmpeg output options.
inline std::filesystem::path encodeFile(const std::filesystem::path& raw, const std::filesystem::path& out,
                                        const std::string& options)
{
    const std::string command = "ffmpeg -nostdin -v error -y -f s16le -ar 44100 -ac 2 -i '" + raw.string() +
                                "' " + options + " '" + out.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return out;
}

} // namespace cueify::test
