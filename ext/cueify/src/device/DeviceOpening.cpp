#include "device/DeviceOpening.h"

#include "core/Failure.h"

#include <cueify/error.h>

#include <filesystem>

namespace cueify {

std::unique_ptr<Device> openDevice(const std::string& name, int& error)
{
    std::error_code notFound;
    if (!isImagePath(name) && std::filesystem::is_directory(name, notFound))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "no disc image: the folder holds no CUE sheet, or more than one");
    if (!isImagePath(name))
        return openDrive(name, error);
    error = CUEIFY_OK;
    return openImage(name);
}

} // namespace cueify
