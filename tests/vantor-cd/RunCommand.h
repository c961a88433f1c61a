// Running vantor-cd, or another program, from a shell as a user would, and reading back what it wrote.
#pragma once

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace vantorcd {

using Environment = std::map<std::string, std::string>;

struct Result
{
    int exitCode;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs vantor-cd, or another program, from a shell with environment additions and a working directory.
inline Result run(std::vector<std::string> arguments, const Environment& environment = {},
                  const std::filesystem::path& directory = {}, const std::string& program = VANTOR_CD_BINARY)
{
    arguments.insert(arguments.begin(), program);
    const testsupport::ScratchDirectory captures;
    const std::filesystem::path out = captures.path() / "out", err = captures.path() / "err";
    std::string line = directory.empty() ? "env" : "cd " + quoted(directory) + " && env";
    for (const auto& [name, value] : environment)
        line += " " + quoted(name + "=" + value);
    for (const std::string& word : arguments)
        line += " " + quoted(word);
    const int status = std::system((line + " </dev/null >" + quoted(out) + " 2>" + quoted(err)).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

// Signed 16-bit little-endian interleaved samples, as ffmpeg decodes the file.
inline std::string decodedPcm(const std::filesystem::path& file)
{
    return run({"-v", "error", "-i", file, "-f", "s16le", "-"}, {}, {}, "ffmpeg").out;
}

// The environment of a program that sees the emulated drives and none of the machine's (see the
// drive emulator's DriveConfig.h for what EMULATED_DRIVES holds).
inline Environment onEmulatedDrives(const std::string& drives, Environment environment = {})
{
    environment["LD_PRELOAD"] = DRIVE_EMULATOR_LIBRARY;
    environment["EMULATED_DRIVES"] = drives;
    return environment;
}

} // namespace vantorcd
