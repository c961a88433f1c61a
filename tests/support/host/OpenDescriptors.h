// Counts this process's open file descriptors on the files of one directory.
#pragma once

#include <cstddef>
#include <filesystem>

namespace reliability {

// Only the image's files count: sanitizer runtimes open descriptors of their own (a symbolizer's
// pipes, for instance) whenever they like.
size_t descriptorsOpenUnder(const std::filesystem::path& directory);

} // namespace reliability
