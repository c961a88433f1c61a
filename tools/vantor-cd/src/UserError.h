// A failure the user can fix: a missing file, no disc, a bad time, an output that cannot be
// written. Its text is the whole message; the program prints it after "vantor-cd: ".
#pragma once

#include <stdexcept>
#include <string>

namespace vantorcd {

class UserError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An output file that could not be written (a full disk, a file too large, an I/O error), whose
// text names the file and the system's reason.
class OutputError : public UserError
{
public:
    using UserError::UserError;
};

} // namespace vantorcd
