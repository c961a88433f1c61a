// Sectors read straight through the cueify C API, for the audio before track 1's INDEX 01 (its
// pregap, where hidden tracks lie): no track's parser covers it.
#pragma once

#include "OffsetCorrection.h"

#include <cueify/cueify.h>

#include <memory>
#include <string>

namespace vantorcd {

class RawSectorReader
{
public:
    // Opens nothing until the first read.
    explicit RawSectorReader(std::string drive) noexcept : m_drive(std::move(drive)) {}

    // Throws UserError naming the drive or the sector when it cannot be opened or read.
    void read(uint32_t lba, SectorBytes& sector);

    // A read from the disc itself, past what was read ahead and the drive's cache: for re-reading
    // a sector whose first read is in doubt.
    void readUncached(uint32_t lba, SectorBytes& sector);

private:
    void readWith(int (*readSector)(cueify_device*, uint32_t, uint8_t*), uint32_t lba, SectorBytes& sector);

    struct DeviceFree
    {
        void operator()(cueify_device* device) const noexcept { cueify_device_free(device); }
    };

    void open();

    std::string m_drive;
    std::unique_ptr<cueify_device, DeviceFree> m_device;
};

} // namespace vantorcd
