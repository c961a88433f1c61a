// Reads a CUE sheet and its data files into an ImageDevice.
#pragma once

#include "image/ImageDevice.h"

#include <filesystem>
#include <memory>

namespace cueify {

// Throws Failure (CUEIFY_ERR_NO_DEVICE) for a malformed sheet, a missing or unfit data file, or tracks that
// do not fit their files.
std::unique_ptr<ImageDevice> loadImage(const std::filesystem::path& cueSheet);

} // namespace cueify
