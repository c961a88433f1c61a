#include "RawSectorReader.h"

#include "ErrorText.h"
#include "PcmReader.h"
#include "UserError.h"

namespace vantorcd {

void RawSectorReader::read(uint32_t lba, SectorBytes& sector)
{
    readWith(cueify_device_read_raw, lba, sector);
}

void RawSectorReader::readUncached(uint32_t lba, SectorBytes& sector)
{
    readWith(cueify_device_read_raw_uncached, lba, sector);
}

void RawSectorReader::readWith(int (*readSector)(cueify_device*, uint32_t, uint8_t*), uint32_t lba,
                               SectorBytes& sector)
{
    if (!m_handle)
        m_handle = std::make_shared<const DriveHandle>(m_drive);
    for (int attempt = 0; attempt < PcmReader::kReadAttempts; ++attempt)
        if (readSector(m_handle->device(), lba, sector.data()) == CUEIFY_OK)
            return;
    const std::string reason = discAccessReason();
    throw UserError("cannot read LBA " + std::to_string(lba) + " of " + m_drive +
                    (reason.empty() ? std::string() : ": " + reason));
}

} // namespace vantorcd
