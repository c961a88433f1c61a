#include "DriveList.h"

#include <cueify/cueify.h>

#include <cstdlib>
#include <memory>

namespace vantorcd {
namespace {

struct BlockFree
{
    void operator()(char** block) const noexcept { std::free(block); }
};

} // namespace

std::vector<std::string> listDrives()
{
    size_t count = 0;
    // One block holds the pointers and the names they point to.
    const std::unique_ptr<char*, BlockFree> names(cueify_device_get_all_devices(&count));
    std::vector<std::string> drives;
    for (size_t i = 0; names && i < count; ++i) {
        if (names.get()[i])
            drives.emplace_back(names.get()[i]);
    }
    return drives;
}

} // namespace vantorcd
