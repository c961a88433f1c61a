// The image backend's entry: result codes for the device layer.
#include "device/Device.h"
#include "image/ImageError.h"
#include "image/ImageLoader.h"
#include "image/ImagePath.h"

#include <cueify/error.h>

#include <new>

namespace cueify {

std::unique_ptr<Device> openImage(const std::string& path, int& error)
{
    try {
        const auto cueSheet = cueSheetOf(path);
        if (!cueSheet) {
            error = CUEIFY_ERR_NO_DEVICE;
            return nullptr;
        }
        std::unique_ptr<Device> device = loadImage(*cueSheet);
        error = CUEIFY_OK;
        return device;
    } catch (const std::bad_alloc&) {
        error = CUEIFY_ERR_NOMEM;
    } catch (const std::exception&) {
        error = CUEIFY_ERR_NO_DEVICE;
    }
    return nullptr;
}

} // namespace cueify
