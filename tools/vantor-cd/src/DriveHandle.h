// A drive or disc image opened through the cueify C API for as long as a command works on it: its
// table of contents, its speed and the sectors read past the plug-in all go through this one handle.
#pragma once

#include <cueify/cueify.h>

#include <memory>
#include <string>

namespace vantorcd {

class DriveHandle
{
public:
    // Throws UserError naming the drive and the disc-access library's reason.
    explicit DriveHandle(std::string drive);

    const std::string& drive() const noexcept { return m_drive; }
    cueify_device* device() const noexcept { return m_device.get(); }

private:
    struct DeviceFree
    {
        void operator()(cueify_device* device) const noexcept { cueify_device_free(device); }
    };

    std::string m_drive;
    std::unique_ptr<cueify_device, DeviceFree> m_device;
};

} // namespace vantorcd
