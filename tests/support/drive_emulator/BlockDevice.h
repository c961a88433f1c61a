// Reads through the drive's 2048-byte block device, as libcdio reads mode-1 sectors.
#pragma once

#include "EmulatedDrive.h"

#include <sys/types.h>

namespace driveemulator {

// The user data of the mode-1 sectors from byte `position` on; bytes read, or -1 with errno set:
// EIO for an audio sector or a failing one, as the kernel refuses cooked reads of audio.
// The caller holds the drive's lock.
ssize_t readBlocks(EmulatedDrive& drive, off_t position, void* buffer, size_t count);

// The size the block device reports: every sector up to the last lead-out.
off_t blockDeviceSize(const EmulatedDrive& drive);

} // namespace driveemulator
