// What a failure of the plug-in shows to its host: the class it is caught as, its description,
// the throwing function as the compiler spelled it, and whether it carries a call stack.
#pragma once

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"

#include <boost/exception/get_error_info.hpp>
#include <boost/throw_exception.hpp>

#include <optional>
#include <string>

namespace testsupport {

struct ThrownFailure
{
    std::string description;
    std::string function;
    bool hasCallStack = false;
    bool hasLocation = false;
};

inline ThrownFailure DescribeFailure(const Vantor::Exception& e)
{
    ThrownFailure failure;
    if (const std::string* description = boost::get_error_info<Vantor::ErrorDescription>(e))
        failure.description = *description;
    if (const char* const* function = boost::get_error_info<boost::throw_function>(e))
        failure.function = *function;
    failure.hasCallStack = boost::get_error_info<Vantor::ErrorCallStack>(e) != nullptr;
    failure.hasLocation = boost::get_error_info<boost::throw_file>(e) != nullptr &&
                          boost::get_error_info<boost::throw_line>(e) != nullptr;
    return failure;
}

// The failure that call throws as Expected; nullopt when it returns. Other exceptions pass through,
// so a test sees a wrong class as an error of its own.
template <class Expected, class Call> std::optional<ThrownFailure> FailureOf(Call&& call)
{
    try {
        call();
    } catch (const Expected& e) {
        return DescribeFailure(e);
    }
    return std::nullopt;
}

} // namespace testsupport
