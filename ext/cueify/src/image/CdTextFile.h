// A CDTEXTFILE: CD-Text packs as a file, with the 4-byte header of a drive's reply or without it.
#pragma once

#include "core/CdTextData.h"

#include <filesystem>
#include <string>

namespace cueify {

// Throws Failure: CUEIFY_ERR_INTERNAL when the file cannot be read or is far larger than any
// CD-Text, the codes of readCdTextPacks when its packs are malformed; each reason names the
// file as displayName.
CdTextData readCdTextFile(const std::filesystem::path& path, const std::string& displayName);

} // namespace cueify
