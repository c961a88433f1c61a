// The device list as the C API hands it out: one malloc'ed block, so that a single free()
// releases the pointer array and the names it points to.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cueify {

// The block: names.size() pointers, then the NUL-terminated names. Null and count 0 for
// an empty list. Throws std::bad_alloc when malloc fails.
char** packNames(const std::vector<std::string>& names, size_t& count);

} // namespace cueify
