#include "AtomicOutputFile.h"

#include "UserError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace vantorcd {
namespace {

constexpr mode_t kNewFileMode = 0666;

OutputError cannotWrite(const std::filesystem::path& target, int error)
{
    return OutputError("cannot write " + target.string() + ": " + std::strerror(error));
}

// mkstemp makes the file private; the finished file gets the mode any new file would get.
mode_t defaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return kNewFileMode & ~mask;
}

std::filesystem::path createTemporaryBeside(const std::filesystem::path& target)
{
    const std::filesystem::path directory = target.has_parent_path() ? target.parent_path() : ".";
    std::string pattern = (directory / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw cannotWrite(target, errno);
    const int chmodResult = ::fchmod(fd, defaultFileMode());
    const int chmodError = errno;
    ::close(fd);
    if (chmodResult != 0) {
        ::unlink(pattern.c_str());
        throw cannotWrite(target, chmodError);
    }
    return pattern;
}

} // namespace

AtomicOutputFile::AtomicOutputFile(std::filesystem::path target) : m_target(std::move(target))
{
    std::error_code error;
    if (std::filesystem::is_directory(m_target, error))
        throw cannotWrite(m_target, EISDIR);
    m_temporary = createTemporaryBeside(m_target);
}

AtomicOutputFile::~AtomicOutputFile()
{
    if (!m_committed)
        ::unlink(m_temporary.c_str());
}

void AtomicOutputFile::commit()
{
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        throw cannotWrite(m_target, errno);
    m_committed = true;
}

} // namespace vantorcd
