// The host's path type: a Boost.Filesystem path with UTF-8 text at its boundaries.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"

#include <boost/filesystem/path.hpp>

#include <iosfwd>
#include <iterator>
#include <memory>
#include <string>

namespace Vantor {

class VANTOR_API ioPath
{
public:
    class iterator;

    ioPath() = default;
    ioPath(const char* utf8);
    ioPath(const std::string& utf8);
    ioPath(const boost::filesystem::path& path);

    std::string utf8string() const;
    // The extension with its leading dot ("" when there is none).
    ioPath extension() const;
    bool empty() const noexcept;

    bool exists() const noexcept;
    bool is_directory() const noexcept;
    bool is_regular_file() const noexcept;

    ioPath absolute_path() const;
    ioPath& make_preferred();

    const boost::filesystem::path& boost_path() const noexcept { return m_path; }

private:
    boost::filesystem::path m_path;
};

// Joins two paths as text: nothing is inserted between them.
VANTOR_API ioPath operator+(const ioPath& left, const ioPath& right);

// Writes the UTF-8 text, unquoted.
VANTOR_API std::ostream& operator<<(std::ostream& out, const ioPath& path);

// Iterates over the entries of a directory, in the order the file system lists them.
// A default-constructed iterator is the end. Throws Vantor::Exception when the directory
// cannot be listed.
class VANTOR_API ioPath::iterator
{
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = ioPath;
    using difference_type = std::ptrdiff_t;
    using pointer = const ioPath*;
    using reference = const ioPath&;

    iterator() noexcept;
    explicit iterator(const ioPath& directory);
    ~iterator();
    iterator(const iterator&);
    iterator& operator=(const iterator&);

    reference operator*() const;
    pointer operator->() const;
    iterator& operator++();
    bool operator==(const iterator& other) const noexcept;
    bool operator!=(const iterator& other) const noexcept { return !(*this == other); }

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace Vantor
