#include "image/ImagePath.h"

#include "device/Device.h"

#include <algorithm>
#include <cctype>

namespace cueify {
namespace {

namespace fs = std::filesystem;

bool isCueSheet(const fs::directory_entry& entry)
{
    std::error_code error;
    if (!entry.is_regular_file(error))
        return false;
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".cue";
}

std::optional<fs::path> onlyCueSheetIn(const fs::path& directory)
{
    std::error_code error;
    std::optional<fs::path> found;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        if (!isCueSheet(*it))
            continue;
        if (found)
            return std::nullopt;
        found = it->path();
    }
    return error ? std::nullopt : found;
}

} // namespace

std::optional<fs::path> cueSheetOf(const std::string& path)
{
    std::error_code error;
    const fs::directory_entry entry(path, error);
    if (error)
        return std::nullopt;
    if (isCueSheet(entry))
        return entry.path();
    if (entry.is_directory(error))
        return onlyCueSheetIn(entry.path());
    return std::nullopt;
}

bool isImagePath(const std::string& path)
{
    return cueSheetOf(path).has_value();
}

} // namespace cueify
