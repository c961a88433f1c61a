// A small text file (a CUE sheet, a log) written whole or not at all.
#pragma once

#include <filesystem>
#include <string>

namespace vantorcd {

// Throws OutputError naming the file and the system's reason when it cannot be written.
void writeWholeTextFile(const std::filesystem::path& path, const std::string& text);

} // namespace vantorcd
