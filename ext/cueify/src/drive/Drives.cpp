// The drive side of the device interface: opening a drive, listing the machine's drives.
#include "device/Device.h"

#include "drive/CdioLibrary.h"
#include "drive/DeviceNode.h"
#include "drive/DriveDevice.h"
#include "drive/TransferLimit.h"

#include <cueify/error.h>

namespace cueify {

std::unique_ptr<Device> openDrive(const std::string& path)
{
    if (!isDeviceNode(path))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "no such drive or disc image");
    CdioHandle cdio = openCdioDevice(path);
    if (!cdio)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not a CD drive, or the drive cannot be opened");
    auto drive = std::make_unique<DriveDevice>(std::move(cdio), FullTocData{}, readAheadSectorsFor(path));
    if (!drive->readTocAtOpen())
        throw Failure(CUEIFY_ERR_NO_DEVICE, "no readable disc in the drive");
    return drive;
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
