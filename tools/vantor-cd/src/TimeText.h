// Times as users write and read them: seconds (90, 12.5) or m:ss(.fff) (1:30, 0:04.250).
#pragma once

#include "Vantor/Core/Interfaces/Types.h"

#include <string>

namespace vantorcd {

// Microseconds, exactly (up to six decimals). Throws UserError for anything else, naming the text.
Vantor::avTime parseTime(const std::string& text);

// m:ss, whole seconds, the fraction dropped: 4,999,999 µs gives 0:04.
std::string formatDuration(Vantor::avTime time);

} // namespace vantorcd
