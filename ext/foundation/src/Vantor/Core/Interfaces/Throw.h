// The one way to raise a failure: construct, attach error information, add the call stack,
// throw with the location (function signature, file, line).
#pragma once

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Core/Interfaces/Export.h"

#include <boost/exception/info.hpp>
#include <boost/throw_exception.hpp>

#include <string>
#include <type_traits>

namespace Vantor {

// The call stack of the calling thread, one frame a line.
VANTOR_API std::string GetCallStack();

// Attaches the current call stack to e and returns it. Only Vantor exceptions take part in
// overload resolution.
template <class E, class = std::enable_if_t<std::is_base_of<Vantor::Exception, E>::value>>
const E& AddStack(const E& e)
{
    e << ErrorCallStack(GetCallStack());
    return e;
}

// The description a translated failure keeps: its own description, else what(), else "Unknown".
VANTOR_API std::string DescriptionOf(const Vantor::Exception& caught);

} // namespace Vantor

// VANTOR_THROW(Vantor::Exception, << Vantor::ErrorDescription("text") << ...);
// errorInfo is a chain of << operands, which parentheses would break.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define VANTOR_THROW(ExceptionClass, errorInfo)                                                              \
    BOOST_THROW_EXCEPTION(::Vantor::AddStack(ExceptionClass() errorInfo))
// NOLINTEND(bugprone-macro-parentheses)

// Inside a handler for Vantor::Exception: throws ExceptionClass with the caught failure's
// description only, located at the catching function.
#define VANTOR_THROW_TRANSLATED(ExceptionClass, caught)                                                      \
    VANTOR_THROW(ExceptionClass, << ::Vantor::ErrorDescription(::Vantor::DescriptionOf(caught)))
