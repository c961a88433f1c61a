// The name of a ripped track's file: its number and CD-Text title where the disc has one.
#pragma once

#include <string>

namespace vantorcd {

// text with what file systems refuse, or shells and CUE sheets read specially, turned into '_',
// without leading or trailing dots and spaces, and within 200 bytes of UTF-8.
std::string safeForFileName(const std::string& text);

// "NN - Title.ext", or "NN.ext" without a title.
std::string trackFileName(unsigned number, const std::string& title, const std::string& extension);

} // namespace vantorcd
