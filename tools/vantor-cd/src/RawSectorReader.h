// Sectors read straight through the cueify C API: the audio before track 1's INDEX 01 (its pregap,
// where hidden tracks lie), which no track's parser covers, and the reads that confirm a sector.
#pragma once

#include "DriveHandle.h"
#include "OffsetCorrection.h"

#include <memory>
#include <string>

namespace vantorcd {

class RawSectorReader
{
public:
    // Opens nothing until the first read.
    explicit RawSectorReader(std::string drive) noexcept : m_drive(std::move(drive)) {}
    // Reads through a drive the command holds open already.
    explicit RawSectorReader(std::shared_ptr<const DriveHandle> handle) noexcept
        : m_drive(handle->drive()), m_handle(std::move(handle))
    {
    }

    // Throws UserError naming the drive or the sector when it cannot be opened or read.
    void read(uint32_t lba, SectorBytes& sector);

    // A read from the disc itself, past what was read ahead and the drive's cache: for re-reading
    // a sector whose first read is in doubt.
    void readUncached(uint32_t lba, SectorBytes& sector);

private:
    void readWith(int (*readSector)(cueify_device*, uint32_t, uint8_t*), uint32_t lba, SectorBytes& sector);

    std::string m_drive;
    std::shared_ptr<const DriveHandle> m_handle;
};

} // namespace vantorcd
