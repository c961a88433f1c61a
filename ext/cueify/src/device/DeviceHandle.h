// A cueify_device handle: the device it has open, if any. The casts below are the only
// places that know what a handle points to.
#pragma once

#include "device/Device.h"

#include <cueify/device.h>

#include <memory>

namespace cueify {

struct DeviceHandle
{
    std::unique_ptr<Device> device; // empty while closed
};

inline DeviceHandle* deviceHandleOf(cueify_device* handle) noexcept
{
    return reinterpret_cast<DeviceHandle*>(handle);
}

// The device behind a handle, or null for a null or closed handle.
inline Device* openDeviceOf(cueify_device* handle) noexcept
{
    return handle ? deviceHandleOf(handle)->device.get() : nullptr;
}

inline cueify_device* handleOf(DeviceHandle* handle) noexcept
{
    return reinterpret_cast<cueify_device*>(handle);
}

} // namespace cueify
