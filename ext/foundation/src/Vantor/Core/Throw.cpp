#include "Vantor/Core/Interfaces/Throw.h"

#include <boost/exception/get_error_info.hpp>
#include <boost/stacktrace.hpp>

#include <sstream>

namespace Vantor {

std::string GetCallStack()
{
    // boost::stacktrace's stream output writes one frame a line.
    std::ostringstream text;
    text << boost::stacktrace::stacktrace();
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
