// Which backend a device name belongs to: disc images by their path, drives otherwise.
#pragma once

#include "device/Device.h"

#include <memory>
#include <string>

namespace cueify {

// Throws Failure with CUEIFY_ERR_NO_DEVICE and the reason when the device cannot be opened.
std::unique_ptr<Device> openDevice(const std::string& name);

} // namespace cueify
