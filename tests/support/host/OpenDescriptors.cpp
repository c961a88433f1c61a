#include "OpenDescriptors.h"

#include <string>

namespace reliability {

size_t descriptorsOpenUnder(const std::filesystem::path& directory)
{
    const std::string prefix = std::filesystem::canonical(directory).string() + "/";
    size_t count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
        if (!error && target.string().compare(0, prefix.size(), prefix) == 0)
            ++count;
    }
    return count;
}

} // namespace reliability
