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

std::vector<std::string> virtualDriveNames()
{
    std::vector<std::string> names;
    const char* list = std::getenv(kVirtualDrivesVariable);
    if (!list)
        return names;
    std::istringstream entries(list);
    for (std::string entry; std::getline(entries, entry, ':');)
        if (!entry.empty())
            names.push_back(entry);
    return names;
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
