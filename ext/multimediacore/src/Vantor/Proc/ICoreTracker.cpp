#include "Vantor/Proc/ICoreTracker.h"

namespace Vantor {
namespace Proc {

const std::string ICoreTracker::CORE_EXCEPTION_FILE_OPEN = "core.exception.file_open";

} // namespace Proc
} // namespace Vantor
