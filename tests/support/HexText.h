// A 32-bit value as the eight lower-case hex digits that logs, replies and disc IDs spell it with.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace testsupport {

inline std::string hex(uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

} // namespace testsupport
