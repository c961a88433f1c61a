// Reading /proc/self/mountinfo, the Linux kernel's table of mounted volumes. Kept apart from the
// file itself so that every platform builds and tests it.
#pragma once

#include <istream>
#include <optional>
#include <string>

namespace Vantor {
namespace Proc {

// The mount source (the device a volume is mounted from) of the first entry whose device number
// is major:minor, with the kernel's octal escapes decoded; nullopt when no entry has that number.
std::optional<std::string> FindMountSource(std::istream& mountInfo, unsigned major, unsigned minor);

} // namespace Proc
} // namespace Vantor
