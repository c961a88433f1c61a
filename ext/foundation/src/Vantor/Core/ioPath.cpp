#include "Vantor/Core/Interfaces/ioPath.h"

#include <boost/filesystem/operations.hpp>

#include <ostream>

namespace Vantor {

namespace fs = boost::filesystem;

// On POSIX a Boost path holds the bytes it is given, so UTF-8 text passes through unchanged.
ioPath::ioPath(const char* utf8) : m_path(utf8 ? utf8 : "") {}

ioPath::ioPath(const std::string& utf8) : m_path(utf8) {}

ioPath::ioPath(const boost::filesystem::path& path) : m_path(path) {}

std::string ioPath::utf8string() const
{
    return m_path.string();
}

ioPath ioPath::extension() const
{
    return ioPath(m_path.extension());
}

bool ioPath::empty() const noexcept
{
    return m_path.empty();
}

// The three tests below answer false for a path that cannot be examined.
bool ioPath::exists() const noexcept
{
    boost::system::error_code error;
    return fs::exists(m_path, error);
}

bool ioPath::is_directory() const noexcept
{
    boost::system::error_code error;
    return fs::is_directory(m_path, error);
}

bool ioPath::is_regular_file() const noexcept
{
    boost::system::error_code error;
    return fs::is_regular_file(m_path, error);
}

ioPath ioPath::absolute_path() const
{
    return ioPath(fs::absolute(m_path));
}

ioPath& ioPath::make_preferred()
{
    m_path.make_preferred();
    return *this;
}

ioPath operator+(const ioPath& left, const ioPath& right)
{
    boost::filesystem::path joined(left.boost_path());
    joined += right.boost_path();
    return ioPath(joined);
}

std::ostream& operator<<(std::ostream& out, const ioPath& path)
{
    return out << path.utf8string();
}

} // namespace Vantor
