#include "drive/CdioLibrary.h"

#include <cdio/logging.h>
#include <cdio/memory.h>

#include <cstdio>
#include <mutex>

namespace cueify {

namespace {

using Lock = std::lock_guard<std::mutex>;

std::mutex& cdioMutex()
{
    static std::mutex mutex;
    return mutex;
}

// libcdio's own handler aborts on assertion messages and prints a warning for every path it
// probes that is no drive; a library must do neither. Only assertion messages, which point
// at a fault inside libcdio, still reach stderr.
void quietLogHandler(cdio_log_level_t level, const char message[])
{
    if (level == CDIO_LOG_ASSERT)
        std::fprintf(stderr, "libcdio: %s\n", message);
}

void installLogHandler()
{
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler(quietLogHandler); });
}

struct DeviceListFree
{
    void operator()(char** list) const noexcept { cdio_free_device_list(list); }
};

} // namespace

void CdioCloser::operator()(CdIo_t* cdio) const noexcept
{
    Lock lock(cdioMutex());
    cdio_destroy(cdio);
}

CdioHandle openCdioDevice(const std::string& path)
{
    installLogHandler();
    Lock lock(cdioMutex());
    return CdioHandle(cdio_open(path.c_str(), DRIVER_DEVICE));
}

std::vector<std::string> cdioDeviceNames()
{
    installLogHandler();
    Lock lock(cdioMutex());
    std::unique_ptr<char*, DeviceListFree> list(cdio_get_devices(DRIVER_DEVICE));
    std::vector<std::string> names;
    for (char** entry = list.get(); entry != nullptr && *entry != nullptr; ++entry)
        names.emplace_back(*entry);
    return names;
}

} // namespace cueify
