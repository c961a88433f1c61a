#include "TrackFileName.h"

#include <cstdio>
#include <cstring>

namespace vantorcd {
namespace {

// Room for the number and the extension below the 255 bytes most file systems allow.
constexpr size_t kMaxTitleBytes = 200;

bool refused(char c) noexcept
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f || std::strchr("/\\:*?\"<>|", c) != nullptr;
}

bool continuationByte(char c) noexcept
{
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

} // namespace

std::string safeForFileName(const std::string& title)
{
    std::string safe;
    for (const char c : title)
        safe += refused(c) ? '_' : c;
    // Leading dots hide a file; trailing dots and spaces vanish on some file systems.
    const size_t first = safe.find_first_not_of(". ");
    const size_t last = safe.find_last_not_of(". ");
    safe = first == std::string::npos ? std::string() : safe.substr(first, last - first + 1);
    if (safe.size() > kMaxTitleBytes) {
        size_t cut = kMaxTitleBytes;
        while (cut > 0 && continuationByte(safe[cut]))
            --cut;
        safe.resize(cut);
    }
    return safe;
}

std::string trackFileName(unsigned number, const std::string& title, const std::string& extension)
{
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02u", number);
    const std::string safe = safeForFileName(title);
    return std::string(prefix) + (safe.empty() ? "" : " - " + safe) + "." + extension;
}

} // namespace vantorcd
