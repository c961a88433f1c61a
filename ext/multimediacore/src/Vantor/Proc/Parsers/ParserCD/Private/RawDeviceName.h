// macOS mounts a disc's volume from the block device /dev/diskN; its drive is read through the
// raw twin /dev/rdiskN. The rule is pure, so it is built and tested on every platform.
#pragma once

#include <string>

namespace Vantor {
namespace Proc {

// The name with "r" inserted after its first five characters (appended to a five-character
// name). Throws std::out_of_range for a name shorter than five characters.
std::string RawDeviceName(std::string blockDevice);

} // namespace Proc
} // namespace Vantor
