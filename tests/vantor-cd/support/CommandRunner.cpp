#include "CommandRunner.h"

#include "TempDirectory.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantorcd::test {
namespace {

constexpr auto kTimeLimit = std::chrono::seconds(60);

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

void redirect(const std::filesystem::path& file, int fd, int flags)
{
    const int opened = ::open(file.c_str(), flags, 0600);
    if (opened < 0 || ::dup2(opened, fd) < 0)
        ::_exit(127);
    ::close(opened);
}

[[noreturn]] void execInChild(const std::vector<std::string>& arguments, const CommandSetup& setup,
                              const std::filesystem::path& outFile, const std::filesystem::path& errFile)
{
    redirect("/dev/null", STDIN_FILENO, O_RDONLY);
    redirect(outFile, STDOUT_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
    redirect(errFile, STDERR_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
    for (const auto& [name, value] : setup.environment)
        ::setenv(name.c_str(), value.c_str(), 1);
    if (!setup.workingDirectory.empty() && ::chdir(setup.workingDirectory.c_str()) != 0)
        ::_exit(127);
    std::vector<char*> argv{const_cast<char*>(VANTOR_CD_BINARY)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(VANTOR_CD_BINARY, argv.data());
    ::_exit(127);
}

int waitWithTimeLimit(pid_t child)
{
    const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::vector<std::string> CommandResult::errLines() const
{
    return splitLines(err);
}

std::vector<std::string> CommandResult::outLines() const
{
    return splitLines(out);
}

CommandResult runVantorCd(const std::vector<std::string>& arguments, const CommandSetup& setup)
{
    const TempDirectory captures;
    const std::filesystem::path outFile = captures.path() / "stdout";
    const std::filesystem::path errFile = captures.path() / "stderr";
    const pid_t child = ::fork();
    if (child < 0)
        return {};
    if (child == 0)
        execInChild(arguments, setup, outFile, errFile);
    CommandResult result;
    result.exitCode = waitWithTimeLimit(child);
    result.out = readText(outFile);
    result.err = readText(errFile);
    return result;
}

} // namespace vantorcd::test
