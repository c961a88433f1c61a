// --speed N|max of the commands that read a drive, and the speed held while they read.
#pragma once

#include "DriveHandle.h"

#include <CLI/CLI.hpp>

namespace vantorcd {

// Adds --speed to the command. speed stays 0, the drive's fastest and its default, unless a
// multiple of 1x is given; anything but a whole number above 0 or "max" is a command-line error.
void addSpeedOption(CLI::App& command, unsigned& speed);

// Asks a drive to read at a speed for as long as this lives, then gives it its default back, also
// when the command fails or is interrupted. A drive that refuses reads on at its own speed, with
// one line on standard error saying so. Speed 0 leaves the drive alone; disc images ignore it.
class HeldSpeed
{
public:
    HeldSpeed(const DriveHandle& handle, unsigned speed);
    ~HeldSpeed();
    HeldSpeed(const HeldSpeed&) = delete;
    HeldSpeed& operator=(const HeldSpeed&) = delete;

private:
    cueify_device* m_slowed = nullptr; // the drive, while it reads at other than its default speed
};

} // namespace vantorcd
