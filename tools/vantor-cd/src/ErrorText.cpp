#include "ErrorText.h"

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"

#include <boost/exception/get_error_info.hpp>
#include <cueify/last_error.h>

namespace vantorcd {

std::string describeFailure(const std::exception& error)
{
    if (const auto* hostError = dynamic_cast<const Vantor::Exception*>(&error)) {
        if (const std::string* description = boost::get_error_info<Vantor::ErrorDescription>(*hostError))
            return *description;
    }
    const char* text = error.what();
    return text && *text ? text : "unknown error";
}

std::string discAccessReason()
{
    return cueify_get_last_error();
}

} // namespace vantorcd
