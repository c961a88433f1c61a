#include "core/Failure.h"

#include <cueify/last_error.h>

#include <array>
#include <cstring>

namespace cueify {
namespace {

// A fixed buffer: recording a reason must not fail where a failure is being reported.
constexpr size_t kLongestReason = 1024;
thread_local std::array<char, kLongestReason> t_lastError{};

} // namespace

void setLastError(const char* reason) noexcept
{
    std::strncpy(t_lastError.data(), reason, t_lastError.size() - 1);
    t_lastError.back() = '\0';
}

void clearLastError() noexcept
{
    t_lastError.front() = '\0';
}

const char* lastError() noexcept
{
    return t_lastError.data();
}

} // namespace cueify

extern "C" const char* cueify_get_last_error(void)
{
    return cueify::lastError();
}
