// Runs the built vantor-cd as a user would: its own process, arguments, environment additions,
// a working directory, standard output and standard error captured apart.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vantorcd::test {

struct CommandResult
{
    int exitCode = -1; // -1 when it was killed (a signal, or the time limit)
    std::string out;
    std::string err;

    // Standard error split into lines, without their line ends.
    std::vector<std::string> errLines() const;
    std::vector<std::string> outLines() const;
};

struct CommandSetup
{
    std::map<std::string, std::string> environment; // added to (or replacing) the test's own
    std::filesystem::path workingDirectory;         // empty: the test's own
};

// Runs vantor-cd with the arguments; gives up and kills it after a minute.
CommandResult runVantorCd(const std::vector<std::string>& arguments, const CommandSetup& setup = {});

} // namespace vantorcd::test
