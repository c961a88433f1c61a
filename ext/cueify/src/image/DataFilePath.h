// Where the data file that a FILE line names lies on this machine.
#pragma once

#include <filesystem>
#include <string>

namespace cueify {

// The name is relative to the sheet's folder unless absolute; backslashes separate folders, as
// sheets written on Windows have them. When no file has that exact name, a file of the same
// folder whose name differs only in letter case is taken if it is the only one; failing that,
// a file of that name beside the sheet. Without any match the exact path is returned.
std::filesystem::path dataFilePath(const std::filesystem::path& sheetFolder, const std::string& name);

} // namespace cueify
