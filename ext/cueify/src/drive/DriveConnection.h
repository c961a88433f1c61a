// One open of a drive, shared by every handle of this process on it: a host and the plug-in it
// loads each open the drive they work on, and the drive is opened, and its table of contents read,
// once for both. What a handle reads ahead stays its own.
#pragma once

#include "core/FullTocData.h"
#include "drive/CdioLibrary.h"
#include "drive/TransferLimit.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace cueify {

struct DriveConnection
{
    DriveConnection(CdioHandle handle, FullTocData table,
                    uint32_t sectorsPerRead = kReadAheadSectors) noexcept
        : cdio(std::move(handle)), toc(std::move(table)), readAheadSectors(sectorsPerRead)
    {
    }

    std::mutex mutex; // libcdio's handle serves one call at a time, whichever handle makes it
    CdioHandle cdio;
    FullTocData toc; // the drive's latest: it places the reads of a handle opened now
    // toc is what reading the TOC gave, not a track table kept after a full TOC that could not be
    // decoded, which the next readFullToc asks the drive for again.
    bool tocRead = false;
    uint32_t readAheadSectors;
};

// The ordinary TOC settles a full TOC that could be BCD and stands in for one the drive refuses.
// table: the ordinary track table, where the drive gave one. Throws Failure when the drive gives
// no track table, or a full TOC that cannot be decoded.
FullTocData readDriveToc(CdIo_t* cdio, std::optional<FullTocData>& table);

// The drive's open connection in this process, or a new one, which reads the drive's TOC. Throws
// Failure (CUEIFY_ERR_NO_DEVICE) when the path names no drive, or the drive holds no readable disc.
std::shared_ptr<DriveConnection> connectDrive(const std::string& path);

} // namespace cueify
