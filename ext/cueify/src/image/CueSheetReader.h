// Reads the text of a CUE sheet into the model of the disc it describes.
#pragma once

#include "image/CueSheet.h"

#include <string>
#include <string_view>

namespace cueify {

// Throws Failure (CUEIFY_ERR_NO_DEVICE) for the first fault of the sheet, in the form
// "<sheetName>:<line>: <what is wrong>", for example
// "album.cue:12: INDEX 00 after INDEX 01 in track 3". Keywords are read in any letter case;
// lines end in LF, CRLF or CR.
CueSheet readCueSheet(std::string_view text, const std::string& sheetName);

} // namespace cueify
