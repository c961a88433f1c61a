// The character sets of CD-Text blocks (CUEIFY_CDTEXT_CHARSET_*) to and from UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cueify {

// MS-JIS text takes two bytes per character, also for its terminator.
bool isDoubleByteCharset(uint8_t charset) noexcept;

// Korean and Chinese blocks are kept without their text: no converter of ours reads them.
bool isReadableCharset(uint8_t charset) noexcept;

// The bytes of one string without its terminator. ISO 8859-1 and ASCII map byte b to U+00bb.
std::string textToUtf8(std::string_view bytes, uint8_t charset);

// A character the set cannot hold becomes '?'; Korean and Chinese give nothing.
std::string utf8ToText(std::string_view utf8, uint8_t charset);

// True when every character of the UTF-8 text is in ISO 8859-1.
bool fitsLatin1(std::string_view utf8);

} // namespace cueify
