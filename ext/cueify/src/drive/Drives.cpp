// The drive side of the device interface: opening a drive, listing the machine's drives.
#include "device/Device.h"

#include "drive/CdioLibrary.h"
#include "drive/DeviceNode.h"
#include "drive/DriveDevice.h"

namespace cueify {

std::unique_ptr<Device> openDrive(const std::string& path)
{
    return std::make_unique<DriveDevice>(connectDrive(path));
}

std::vector<std::string> listPhysicalDrives()
{
    return cdioDeviceNames();
}

std::string defaultPhysicalDrive()
{
    // libcdio names a fallback path (/dev/cdrom on Linux) even where no such node exists.
    std::string name = cdioDefaultDeviceName();
    if (!name.empty() && isDeviceNode(name))
        return name;
    std::vector<std::string> drives = listPhysicalDrives();
    return drives.empty() ? std::string() : drives.front();
}

} // namespace cueify
