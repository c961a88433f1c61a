// The platform's answer to "which drive holds this path?".
#pragma once

#include <optional>
#include <string>

namespace Vantor {
namespace Proc {

// The drive path for an absolute UTF-8 path, or nullopt when the platform cannot tell.
// macOS: the raw twin of the device the path's volume is mounted from (/dev/disk3 -> /dev/rdisk3);
// throws std::out_of_range when that device name is shorter than five characters.
// Linux: the path itself when it is a block device, a CUE sheet or a directory holding one (Linux
// has no raw twins, and a disc image is its own drive); otherwise the mount source of its volume.
std::optional<std::string> FindPlatformDrive(const std::string& absolutePath);

} // namespace Proc
} // namespace Vantor
