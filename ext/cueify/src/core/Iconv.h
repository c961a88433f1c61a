// One conversion descriptor of the C library's iconv, closed by its owner.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace cueify {

class Iconv
{
public:
    // Throws Failure (CUEIFY_ERR_INTERNAL) when the C library cannot convert between the two.
    Iconv(const char* to, const char* from);
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    ~Iconv();

    // The whole input converted, or nothing when any of it has no counterpart.
    std::optional<std::string> convert(std::string_view input);

private:
    iconv_t m_descriptor;
};

} // namespace cueify
