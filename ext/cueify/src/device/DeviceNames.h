// Which names the library offers as devices: physical drives first, then the virtual
// drives (directories holding a disc image) named in CUEIFY_VIRTUAL_DRIVES.
#pragma once

#include <string>
#include <vector>

namespace cueify {

// The directories of CUEIFY_VIRTUAL_DRIVES (colon-separated), empty entries skipped. An entry is
// a directory holding a disc image, or DIR=DEVICE: a directory that stands for a physical drive,
// as a mounted disc's volume does, and holds its TrackNN.cda files.
std::vector<std::string> virtualDriveNames();

// The physical drive a directory named DIR=DEVICE stands for, or empty.
std::string driveStandingFor(const std::string& directory);

// Physical drives, then virtual drives.
std::vector<std::string> allDeviceNames();

// The first of allDeviceNames(), or null. The text stays valid for the life of the process.
const char* defaultDeviceName();

} // namespace cueify
