#include "drive/DeviceNode.h"

#include <sys/stat.h>

namespace cueify {

bool isDeviceNode(const std::string& path) noexcept
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0)
        return false;
    return S_ISBLK(status.st_mode) || S_ISCHR(status.st_mode);
}

} // namespace cueify
