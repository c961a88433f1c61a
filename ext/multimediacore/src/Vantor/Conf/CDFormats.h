// The format names under which the host opens CD tracks.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"

#include <string>
#include <vector>

namespace Vantor {
namespace Conf {

// The host's CD format list; holds "cda" unless a host configures it otherwise.
VANTOR_API const std::vector<std::string>& GetCDFormatList();

// Replaces the list (host configuration; not thread-safe against concurrent readers).
VANTOR_API void SetCDFormatList(std::vector<std::string> formats);

} // namespace Conf
} // namespace Vantor
