// Turns any exception into the one line a user reads.
#pragma once

#include <exception>
#include <string>

namespace vantorcd {

// A Vantor::Exception gives its attached description; any other exception its what() text.
std::string describeFailure(const std::exception& error);

} // namespace vantorcd
