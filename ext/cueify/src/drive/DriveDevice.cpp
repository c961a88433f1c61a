// Placeholder until the libcdio backend lands: no physical drives.
#include "device/Device.h"

#include <cueify/error.h>

namespace cueify {

std::unique_ptr<Device> openDrive(const std::string&, int& error)
{
    error = CUEIFY_ERR_NO_DEVICE;
    return nullptr;
}

std::vector<std::string> listPhysicalDrives()
{
    return {};
}

std::string defaultPhysicalDrive()
{
    return {};
}

} // namespace cueify
