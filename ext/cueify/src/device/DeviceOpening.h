// Which backend a device name belongs to: disc images by their path, drives otherwise.
#pragma once

#include "device/Device.h"

#include <memory>
#include <string>

namespace cueify {

// Sets error (a cueify result code) and returns null when a drive cannot be opened; throws
// Failure when a disc image cannot be.
std::unique_ptr<Device> openDevice(const std::string& name, int& error);

} // namespace cueify
