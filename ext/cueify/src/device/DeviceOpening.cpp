#include "device/DeviceOpening.h"

#include "core/Failure.h"
#include "device/DeviceNames.h"

#include <cueify/error.h>

#include <filesystem>

namespace cueify {

std::unique_ptr<Device> openDevice(const std::string& name)
{
    const std::string standsFor = driveStandingFor(name);
    if (!standsFor.empty())
        return openDrive(standsFor);
    if (isImagePath(name))
        return openImage(name);
    std::error_code notFound;
    if (std::filesystem::is_directory(name, notFound))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "no disc image: the folder holds no CUE sheet, or more than one");
    return openDrive(name);
}

} // namespace cueify
