// The command line: global options, the commands, and the one place where failures become
// a single "vantor-cd: ..." line and an exit status.
#pragma once

namespace vantorcd {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int runApp(int argc, char** argv);

} // namespace vantorcd
