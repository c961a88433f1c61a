#include "RawSectorReader.h"

#include "ErrorText.h"
#include "PcmReader.h"
#include "UserError.h"

namespace vantorcd {

void RawSectorReader::open()
{
    m_device.reset(cueify_device_new());
    if (!m_device)
        throw UserError("out of memory");
    if (cueify_device_open(m_device.get(), m_drive.c_str()) != CUEIFY_OK) {
        const std::string reason = discAccessReason();
        m_device.reset();
        throw UserError("cannot open " + m_drive + " to read the audio before track 1" +
                        (reason.empty() ? std::string() : ": " + reason));
    }
}

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
    if (!m_device)
        open();
    for (int attempt = 0; attempt < PcmReader::kReadAttempts; ++attempt)
        if (readSector(m_device.get(), lba, sector.data()) == CUEIFY_OK)
            return;
    {
        const std::string reason = discAccessReason();
        throw UserError("cannot read LBA " + std::to_string(lba) + " of " + m_drive + ", before track 1" +
                        (reason.empty() ? std::string() : ": " + reason));
    }
}

} // namespace vantorcd
