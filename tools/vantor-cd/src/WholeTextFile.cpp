#include "WholeTextFile.h"

#include "AtomicOutputFile.h"
#include "UserError.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace vantorcd {
namespace {

// Writes all of text, or returns the errno of the call that failed.
int writeAll(int fd, const std::string& text)
{
    for (size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        done += static_cast<size_t>(written);
    }
    return 0;
}

// An open descriptor, closed when the owner goes unless closed before, with the result asked.
class Descriptor
{
public:
    explicit Descriptor(int fd) noexcept : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const noexcept { return m_fd; }
    // The errno of a failed close(), or 0.
    int close() noexcept
    {
        const int result = ::close(std::exchange(m_fd, -1));
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

} // namespace

void writeWholeTextFile(const std::filesystem::path& path, const std::string& text)
{
    AtomicOutputFile file(path);
    Descriptor fd(::open(file.temporaryPath().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    int error = fd.get() < 0 ? errno : writeAll(fd.get(), text);
    // close() may be the first to report that the data found no room.
    if (fd.get() >= 0 && error == 0)
        error = fd.close();
    if (error != 0)
        throw OutputError("cannot write " + path.string() + ": " + std::strerror(error));
    file.commit();
}

} // namespace vantorcd
