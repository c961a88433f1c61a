// Whether a path names a device node at all, before libcdio is asked about it.
#pragma once

#include <string>

namespace cueify {

// True for a block or character device: Linux drives are block devices (/dev/sr0), macOS
// drives are opened through their raw character twins (/dev/rdisk3).
bool isDeviceNode(const std::string& path) noexcept;

} // namespace cueify
