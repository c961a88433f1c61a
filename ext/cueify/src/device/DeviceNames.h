// Which names the library offers as devices: physical drives first, then the virtual
// drives (directories holding a disc image) named in CUEIFY_VIRTUAL_DRIVES.
#pragma once

#include <string>
#include <vector>

namespace cueify {

// The entries of CUEIFY_VIRTUAL_DRIVES (colon-separated), empty entries skipped.
std::vector<std::string> virtualDriveNames();

// Physical drives, then virtual drives.
std::vector<std::string> allDeviceNames();

// The first of allDeviceNames(), or null. The text stays valid for the life of the process.
const char* defaultDeviceName();

} // namespace cueify
