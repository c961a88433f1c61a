#include "Vantor/Proc/ICDReader.h"

namespace Vantor {
namespace Proc {

// Neither text may occur in a drive or image path, so a track path splits back unambiguously.
const std::string ICDReader::CD_PATH_PREFIX = "cdda://";
const std::string ICDReader::CD_TRACK_PREFIX = "#track";

} // namespace Proc
} // namespace Vantor
