// A failure inside the library: the result code the C API returns for it, and its reason,
// which the C boundary keeps for the calling thread (cueify_get_last_error).
#pragma once

#include <stdexcept>
#include <string>

namespace cueify {

class Failure : public std::runtime_error
{
public:
    Failure(int code, const std::string& reason) : std::runtime_error(reason), m_code(code) {}

    int code() const noexcept { return m_code; }

private:
    int m_code;
};

// The calling thread's last reason; setting it never throws (an unstorable text is cut).
void setLastError(const char* reason) noexcept;
void clearLastError() noexcept;
const char* lastError() noexcept;

} // namespace cueify
