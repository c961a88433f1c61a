// The drives the cueify C API knows: physical drives, then the virtual drives named in
// CUEIFY_VIRTUAL_DRIVES.
#pragma once

#include <string>
#include <vector>

namespace vantorcd {

std::vector<std::string> listDrives();

} // namespace vantorcd
