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
    std::string out, err;
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

// The shell's words that run a program with environment additions.
inline std::string commandLine(const std::string& program, const std::vector<std::string>& arguments,
                               const Environment& environment)
{
    std::string line = "env";
    for (const auto& [name, value] : environment)
        line += " " + quoted(name + "=" + value);
    line += " " + quoted(program);
    for (const std::string& word : arguments)
        line += " " + quoted(word);
    return line;
}

// Runs vantor-cd, or another program, from a shell with environment additions and a working directory.
inline Result run(const std::vector<std::string>& arguments, const Environment& environment = {},
                  const std::filesystem::path& directory = {}, const std::string& program = VANTOR_CD_BINARY)
{
    const testsupport::ScratchDirectory captures;
    const std::filesystem::path out = captures.path() / "out", err = captures.path() / "err";
    const std::string line = (directory.empty() ? "" : "cd " + quoted(directory) + " && ") +
                             commandLine(program, arguments, environment) + " </dev/null >" + quoted(out) +
                             " 2>" + quoted(err);
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

// Runs a shell script; "$0" and on are the arguments.
inline Result sh(const std::string& script, std::vector<std::string> arguments = {})
{
    arguments.insert(arguments.begin(), {"-c", script});
    return run(arguments, {}, {}, "sh");
}

// Signed 16-bit little-endian interleaved samples, as ffmpeg decodes the file.
inline std::string decodedPcm(const std::filesystem::path& file)
{
    return run({"-v", "error", "-i", file, "-f", "s16le", "-"}, {}, {}, "ffmpeg").out;
}

// Writes the disc of the disc-image writer's track words into a folder, without .cda files;
// returns its CUE sheet.
inline std::string writeImage(const std::filesystem::path& folder, const std::string& trackWords)
{
    EXPECT_EQ(sh(quoted(VANTOR_CD_MKDISC) + " --out " + quoted(folder) + " --no-cda " + trackWords).exitCode,
              0);
    return (folder / "disc.cue").string();
}

// The environment of a program that sees the emulated drives and none of the machine's (see README.md,
// "Drives without hardware", for what EMULATED_DRIVES holds; the drive emulator's DriveWords.cpp reads it).
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
                                          const std::string& out = "/dev/null")
{
    return sh(commandLine(VANTOR_CD_BINARY, arguments, onEmulatedDrives(drives)) + " >" + quoted(out) +
              " & vantor=$!; until " + ready + "; do sleep 0.01; done; kill -INT $vantor; wait $vantor");
}

} // namespace vantorcd
