#include "device/DeviceOpening.h"

namespace cueify {

std::unique_ptr<Device> openDevice(const std::string& name, int& error)
{
    return isImagePath(name) ? openImage(name, error) : openDrive(name, error);
}

} // namespace cueify
