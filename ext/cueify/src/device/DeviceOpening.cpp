#include "device/DeviceOpening.h"

#include <cueify/error.h>

namespace cueify {

std::unique_ptr<Device> openDevice(const std::string& name, int& error)
{
    if (!isImagePath(name))
        return openDrive(name, error);
    error = CUEIFY_OK;
    return openImage(name);
}

} // namespace cueify
