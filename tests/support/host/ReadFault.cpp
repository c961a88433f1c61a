#include "ReadFault.h"

#include <cstdlib>
#include <string>

namespace reliability {

// The interposer reads these on every call, so setting and clearing them arms and lifts the fault.
ReadFault::ReadFault(const std::filesystem::path& file, uint64_t offset)
{
    ::setenv("FAULTY_READ_FILE", file.c_str(), 1);
    ::setenv("FAULTY_READ_OFFSET", std::to_string(offset).c_str(), 1);
}

ReadFault::~ReadFault()
{
    lift();
}

void ReadFault::lift() noexcept
{
    ::unsetenv("FAULTY_READ_FILE");
    ::unsetenv("FAULTY_READ_OFFSET");
}

} // namespace reliability
