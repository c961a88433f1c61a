// The unit tests link with --wrap=cueify_device_open, so the plug-in's calls come here first.
#include "ThrowingOpen.h"

#include <cueify/device.h>

#include <utility>

namespace {

std::exception_ptr pendingFailure;

} // namespace

extern "C" int __real_cueify_device_open(cueify_device* device, const char* name);

extern "C" int __wrap_cueify_device_open(cueify_device* device, const char* name)
{
    if (const std::exception_ptr failure = std::exchange(pendingFailure, nullptr))
        std::rethrow_exception(failure);
    return __real_cueify_device_open(device, name);
}

namespace cdtest {

void ThrowFromNextDeviceOpen(std::exception_ptr failure)
{
    pendingFailure = std::move(failure);
}

} // namespace cdtest
