#include "Vantor/Core/Interfaces/Throw.h"

#include <boost/exception/get_error_info.hpp>
#include <boost/stacktrace.hpp>

#include <sstream>

namespace Vantor {

std::string GetCallStack()
{
    // Frame 0 would be this function; the stream output writes one frame a line.
    constexpr std::size_t kSkippedFrames = 1;
    constexpr std::size_t kAllFrames = static_cast<std::size_t>(-1);
    std::ostringstream text;
    text << boost::stacktrace::stacktrace(kSkippedFrames, kAllFrames);
    return text.str();
}

std::string DescriptionOf(const Vantor::Exception& caught)
{
    if (const std::string* description = boost::get_error_info<ErrorDescription>(caught))
        return *description;
    if (const char* what = caught.what())
        return what;
    return "Unknown";
}

} // namespace Vantor
