// Test programs that run against emulated CD drives (see drive_emulator/DriveEmulator.cpp).
#pragma once

#include "TrackWords.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

namespace testsupport {

// The emulator reads EMULATED_DRIVES once, at the first file call of the process, so a program
// that needs these drives starts itself again with them and with the emulator preloaded. The
// emulator goes after anything already preloaded: a sanitizer runtime that must come first
// (gcc's libasan) stays first, and clang's runtime is linked into the program anyway.
inline void runWithEmulatedDrives(char** argv, const std::string& drives)
{
    const char* preload = std::getenv("LD_PRELOAD");
    const char* current = std::getenv("EMULATED_DRIVES");
    if (current != nullptr && drives == current && preload != nullptr &&
        std::strstr(preload, DRIVE_EMULATOR_LIBRARY))
        return;
    const std::string libraries = preload != nullptr && *preload != '\0'
                                      ? std::string(preload) + ":" + DRIVE_EMULATOR_LIBRARY
                                      : DRIVE_EMULATOR_LIBRARY;
    setenv("EMULATED_DRIVES", drives.c_str(), 1);
    setenv("LD_PRELOAD", libraries.c_str(), 1);
    execv("/proc/self/exe", argv);
    std::perror("cannot start the test program again under the drive emulator");
    std::exit(EXIT_FAILURE);
}

} // namespace testsupport
