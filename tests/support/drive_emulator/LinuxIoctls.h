// The CD-ROM and SCSI ioctls of Linux's sr driver, answered for an emulated drive as the kernel
// answers them for a real one: mostly by sending MMC commands to the drive.
#pragma once

#include "EmulatedDrive.h"

namespace driveemulator {

// The ioctl's result, or -1 with errno set. The caller holds the drive's lock.
int driveIoctl(EmulatedDrive& drive, unsigned long request, void* argument);

} // namespace driveemulator
