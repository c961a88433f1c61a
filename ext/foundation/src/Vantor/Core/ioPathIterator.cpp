#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Throw.h"
#include "Vantor/Core/Interfaces/ioPath.h"

#include <boost/filesystem/operations.hpp>

namespace Vantor {

namespace fs = boost::filesystem;

// Copies of an iterator share one listing, as input iterators do.
struct ioPath::iterator::State
{
    ioPath directory;
    fs::directory_iterator position;
    ioPath current;
};

namespace {

[[noreturn]] void ThrowCannotList(const ioPath& directory, const boost::system::error_code& error)
{
    VANTOR_THROW(Vantor::Exception, << ErrorDescription("Cannot list directory " + directory.utf8string() +
                                                        ": " + error.message())
                                    << ErrorFilename(directory.utf8string()));
}

} // namespace

ioPath::iterator::iterator() noexcept = default;

ioPath::iterator::iterator(const ioPath& directory) : m_state(std::make_shared<State>())
{
    boost::system::error_code error;
    m_state->directory = directory;
    m_state->position = fs::directory_iterator(directory.boost_path(), error);
    if (error)
        ThrowCannotList(directory, error);
    if (m_state->position == fs::directory_iterator())
        m_state.reset();
    else
        m_state->current = ioPath(m_state->position->path());
}

ioPath::iterator::~iterator() = default;
ioPath::iterator::iterator(const iterator&) = default;
ioPath::iterator& ioPath::iterator::operator=(const iterator&) = default;

ioPath::iterator::reference ioPath::iterator::operator*() const
{
    if (!m_state)
        VANTOR_THROW(Vantor::Exception, << ErrorDescription("Dereferencing the end of a directory listing"));
    return m_state->current;
}

ioPath::iterator::pointer ioPath::iterator::operator->() const
{
    return &**this;
}

ioPath::iterator& ioPath::iterator::operator++()
{
    if (!m_state)
        return *this;
    boost::system::error_code error;
    m_state->position.increment(error);
    if (error)
        ThrowCannotList(m_state->directory, error);
    if (m_state->position == fs::directory_iterator())
        m_state.reset();
    else
        m_state->current = ioPath(m_state->position->path());
    return *this;
}

// Every finished listing is the end, also for a copy whose twin ran it to its end; two live
// iterators are equal when they share a listing.
bool ioPath::iterator::operator==(const iterator& other) const noexcept
{
    const bool atEnd = !m_state || m_state->position == fs::directory_iterator();
    const bool otherAtEnd = !other.m_state || other.m_state->position == fs::directory_iterator();
    return (atEnd && otherAtEnd) || (!atEnd && m_state == other.m_state);
}

} // namespace Vantor
