// Which paths name a disc image: a CUE sheet, or a directory holding exactly one (a
// virtual drive).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace cueify {

// The CUE sheet the path names, or nothing. A CUE sheet is a regular file whose name
// ends in ".cue", in any letter case.
std::optional<std::filesystem::path> cueSheetOf(const std::string& path);

} // namespace cueify
