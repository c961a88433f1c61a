// The image backend's entry: image failures as the device layer reports them.
#include "core/Failure.h"
#include "device/Device.h"
#include "image/ImageError.h"
#include "image/ImageLoader.h"
#include "image/ImagePath.h"

#include <cueify/error.h>

namespace cueify {

std::unique_ptr<Device> openImage(const std::string& path)
{
    const auto cueSheet = cueSheetOf(path);
    if (!cueSheet)
        throw Failure(CUEIFY_ERR_NO_DEVICE, path + ": no CUE sheet");
    try {
        return loadImage(*cueSheet);
    } catch (const ImageError& error) {
        throw Failure(CUEIFY_ERR_NO_DEVICE, error.what());
    }
}

} // namespace cueify
