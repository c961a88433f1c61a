// Ctrl-C and SIGTERM during a long read: the read loop stops at the next sector, so that the
// temporary output file is removed on the way out rather than left behind.
#pragma once

namespace vantorcd {

// Installs the handlers for SIGINT and SIGTERM.
void catchInterruptions() noexcept;

bool interruptionRequested() noexcept;

} // namespace vantorcd
