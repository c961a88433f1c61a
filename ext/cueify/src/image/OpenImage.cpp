// The image backend's entry.
#include "core/Failure.h"
#include "device/Device.h"
#include "image/ImageLoader.h"
#include "image/ImagePath.h"

#include <cueify/error.h>

namespace cueify {

std::unique_ptr<Device> openImage(const std::string& path)
{
    const auto cueSheet = cueSheetOf(path);
    if (!cueSheet)
        throw Failure(CUEIFY_ERR_NO_DEVICE, path + ": no CUE sheet");
    return loadImage(*cueSheet);
}

} // namespace cueify
