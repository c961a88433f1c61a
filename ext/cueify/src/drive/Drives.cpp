// The drive side of the device interface: opening a drive, listing the machine's drives.
#include "device/Device.h"

#include "drive/CdioLibrary.h"
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

} // namespace cueify
