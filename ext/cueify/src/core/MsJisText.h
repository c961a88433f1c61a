// CD-Text's MS-JIS character set: two bytes per character, high byte first. 0x00xx is the
// single-byte JIS X 0201 character xx, 0x0909 is a TAB, anything else is a Shift-JIS code.
#pragma once

#include <string>
#include <string_view>

namespace cueify {

// A code that no table maps becomes U+FFFD; a trailing odd byte is dropped.
// Throws Failure (CUEIFY_ERR_INTERNAL) when the C library has no Shift-JIS converter.
std::string msJisToUtf8(std::string_view codes);

// A character that MS-JIS cannot hold becomes '?'.
// Throws Failure (CUEIFY_ERR_INTERNAL) when the C library has no Shift-JIS converter.
std::string utf8ToMsJis(std::string_view utf8);

} // namespace cueify
