// Makes the next cueify_device_open throw, as a C function never does: the plug-in's translation
// sites must still pass what they do not translate and translate what they do.
#pragma once

#include <exception>

namespace cdtest {

void ThrowFromNextDeviceOpen(std::exception_ptr failure);

} // namespace cdtest
