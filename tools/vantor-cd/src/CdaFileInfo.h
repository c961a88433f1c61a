// What a .cda track file says: which track of which disc it stands for.
#pragma once

#include <cstdint>
#include <filesystem>

namespace vantorcd {

struct CdaFileInfo
{
    unsigned track = 0;
    uint32_t serial = 0;
};

// Throws UserError when the file is missing or is not a RIFF "CDDA" track file.
CdaFileInfo readCdaFile(const std::filesystem::path& path);

} // namespace vantorcd
