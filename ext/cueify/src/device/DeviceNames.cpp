#include "device/DeviceNames.h"

#include "device/Device.h"

#include <cstdlib>
#include <mutex>
#include <set>
#include <sstream>

namespace cueify {
namespace {

constexpr const char* kVirtualDrivesVariable = "CUEIFY_VIRTUAL_DRIVES";

// Names handed out as const char* must outlive every caller, so each distinct name is
// kept once; a set's nodes never move.
const char* keptForever(const std::string& name)
{
    static std::mutex mutex;
    static std::set<std::string> names;
    const std::lock_guard<std::mutex> lock(mutex);
    return names.insert(name).first->c_str();
}

} // namespace

namespace {

struct VirtualDrive
{
    std::string directory;
    std::string device; // empty: the directory holds a disc image
};

std::vector<VirtualDrive> virtualDrives()
{
    std::vector<VirtualDrive> drives;
    const char* list = std::getenv(kVirtualDrivesVariable);
    if (!list)
        return drives;
    std::istringstream entries(list);
    for (std::string entry; std::getline(entries, entry, ':');) {
        const size_t equals = entry.find('=');
        if (equals == std::string::npos)
            drives.push_back({entry, ""});
        else
            drives.push_back({entry.substr(0, equals), entry.substr(equals + 1)});
        if (drives.back().directory.empty())
            drives.pop_back();
    }
    return drives;
}

} // namespace

std::vector<std::string> virtualDriveNames()
{
    std::vector<std::string> names;
    for (const VirtualDrive& drive : virtualDrives())
        names.push_back(drive.directory);
    return names;
}

std::string driveStandingFor(const std::string& directory)
{
    for (const VirtualDrive& drive : virtualDrives()) {
        if (drive.directory == directory)
            return drive.device;
    }
    return {};
}

std::vector<std::string> allDeviceNames()
{
    std::vector<std::string> names = listPhysicalDrives();
    std::vector<std::string> virtualDrives = virtualDriveNames();
    names.insert(names.end(), virtualDrives.begin(), virtualDrives.end());
    return names;
}

const char* defaultDeviceName()
{
    const std::vector<std::string> names = allDeviceNames();
    return names.empty() ? nullptr : keptForever(names.front());
}

} // namespace cueify
