// The text of a CUE sheet as the tools that write sheets store it, made UTF-8.
#pragma once

#include <string>

namespace cueify {

// UTF-8 with or without a byte-order mark stays as it is (without the mark); UTF-16 in either
// byte order needs its byte-order mark; anything else that is not valid UTF-8 is read as
// Windows-1252, the code page most sheet writers use. Throws Failure (CUEIFY_ERR_NO_DEVICE) for a NUL byte,
// which no text sheet holds, and for malformed UTF-16.
std::string sheetTextAsUtf8(const std::string& bytes);

} // namespace cueify
