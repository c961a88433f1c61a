// The library's one error type: every failure inside it is a Failure, thrown with its code.
// Only the C API's guard (ApiGuard.h) turns it into that code and keeps its reason.
#pragma once

#include <cueify/error.h>

#include <stdexcept>
#include <string>

namespace cueify {

class Failure : public std::runtime_error
{
public:
    Failure(int code, const std::string& reason) : std::runtime_error(reason), m_code(code) {}

    int code() const noexcept { return m_code; }

    // The same failure, its reason told where it happened: context comes before the reason.
    Failure within(const std::string& context) const { return Failure(m_code, context + what()); }

private:
    int m_code;
};

// The calling thread's last reason; setting it never throws (an unstorable text is cut).
void setLastError(const char* reason) noexcept;
void clearLastError() noexcept;
const char* lastError() noexcept;

} // namespace cueify
