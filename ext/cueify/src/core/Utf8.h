// UTF-8 as code points and back: the form every CD-Text character set is converted through.
#pragma once

#include <string>
#include <string_view>

namespace cueify {

// Every malformed or truncated sequence becomes one U+FFFD.
std::u32string codePointsOf(std::string_view utf8);

void appendUtf8(std::string& text, char32_t codePoint);

} // namespace cueify
