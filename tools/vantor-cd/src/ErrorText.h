// Turns any exception into the one line a user reads.
#pragma once

#include <exception>
#include <string>

namespace vantorcd {

// A Vantor::Exception gives its attached description; any other exception its what() text.
std::string describeFailure(const std::exception& error);

// Why the disc-access library's last call on this thread failed, or empty. For a disc image the
// text names the sheet and, where it can, the line: "album.cue:12: ...".
std::string discAccessReason();

} // namespace vantorcd
