#include "image/DataFilePath.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace cueify {
namespace {

namespace fs = std::filesystem;

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool present(const fs::path& path)
{
    std::error_code error;
    return fs::exists(path, error);
}

// The one entry of the folder whose name equals name but for letter case.
std::optional<fs::path> onlyCaseInsensitiveMatch(const fs::path& folder, const std::string& name)
{
    const std::string wanted = lower(name);
    std::optional<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (lower(it->path().filename().string()) != wanted)
            continue;
        if (found)
            return std::nullopt;
        found = it->path();
    }
    return found;
}

std::optional<fs::path> existingPath(const fs::path& path)
{
    if (present(path))
        return path;
    return onlyCaseInsensitiveMatch(path.parent_path(), path.filename().string());
}

} // namespace

fs::path dataFilePath(const fs::path& sheetFolder, const std::string& name)
{
    std::string portable = name;
    std::replace(portable.begin(), portable.end(), '\\', '/');
    const fs::path written(portable);
    fs::path exact = written.is_absolute() ? written : sheetFolder / written;
    if (const auto found = existingPath(exact))
        return *found;
    if (written.has_parent_path()) {
        if (const auto beside = existingPath(sheetFolder / written.filename()))
            return *beside;
    }
    return exact;
}

} // namespace cueify
