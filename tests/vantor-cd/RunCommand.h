// Running vantor-cd, or another program, from a shell as a user would, and reading back what it wrote.
#pragma once

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
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

// The words of a text, split at white space.
inline std::vector<std::string> wordsOf(const std::string& text)
{
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

// Writes the disc of the disc-image writer's track words into a folder, without .cda files;
// returns its CUE sheet.
inline std::string writeImage(const std::filesystem::path& folder, const std::string& trackWords)
{
    std::vector<std::string> arguments{"--out", folder.string(), "--no-cda"};
    for (const std::string& word : wordsOf(trackWords))
        arguments.push_back(word);
    EXPECT_EQ(run(arguments, {}, {}, VANTOR_CD_MKDISC).exitCode, 0);
    return (folder / "disc.cue").string();
}

// The environment of a program that sees the emulated drives and none of the machine's (see the
// drive emulator's DriveConfig.h for what EMULATED_DRIVES holds).
inline Environment onEmulatedDrives(const std::string& drives, Environment environment = {})
{
    environment["LD_PRELOAD"] = DRIVE_EMULATOR_LIBRARY;
    environment["EMULATED_DRIVES"] = drives;
    return environment;
}

// Runs vantor-cd on the emulated drives from a shell that sends it SIGINT once the shell test
// `ready` (such as `[ -e FILE ]`) holds; its standard output goes to `out` when one is named. The
// emulator is preloaded into vantor-cd alone: the shell and its tools are not built with the
// sanitizers an instrumented emulator needs.
inline Result interruptedOnEmulatedDrives(const std::vector<std::string>& arguments,
                                          const std::string& drives, const std::string& ready,
                                          const std::string& out = "")
{
    std::string line = "env";
    for (const auto& [name, value] : onEmulatedDrives(drives))
        line += " " + quoted(name + "=" + value);
    line += " " + quoted(VANTOR_CD_BINARY);
    for (const std::string& word : arguments)
        line += " " + quoted(word);
    if (!out.empty())
        line += " >" + quoted(out);
    return run({"-c", line + " & vantor=$!; until " + ready +
                          "; do sleep 0.01; done; kill -INT $vantor; wait $vantor"},
               {}, {}, "sh");
}

} // namespace vantorcd
