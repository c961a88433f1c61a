#include "RawSectorReader.h"

#include "ErrorText.h"
#include "PcmReader.h"

#include <algorithm>

namespace vantorcd {

cueify_device* RawSectorReader::device()
{
    if (!m_handle)
        m_handle = std::make_shared<const DriveHandle>(m_drive);
    return m_handle->device();
}

void RawSectorReader::read(uint32_t lba, SectorBytes& sector)
{
    readWith(cueify_device_read_raw, lba, sector);
}

bool RawSectorReader::readUncached(uint32_t lba, SectorBytes& sector)
{
    if (m_reportsC2) {
        if (const std::optional<C2Pointers> pointers = readWithC2(lba, sector))
            return std::all_of(pointers->begin(), pointers->end(), [](uint8_t bits) { return bits == 0; });
        m_reportsC2 = false;
    }
    readWith(cueify_device_read_raw_uncached, lba, sector);
    return true;
}

std::optional<RawSectorReader::C2Pointers> RawSectorReader::readWithC2(uint32_t lba, SectorBytes& sector)
{
    C2Pointers pointers{};
    for (int attempt = 0; attempt < PcmReader::kReadAttempts; ++attempt) {
        const int result = cueify_device_read_raw_uncached_c2(device(), lba, sector.data(), pointers.data());
        if (result == CUEIFY_OK)
            return pointers;
        if (result == CUEIFY_NO_DATA)
            return std::nullopt;
    }
    throw cannotRead(lba);
}

void RawSectorReader::readWith(int (*readSector)(cueify_device*, uint32_t, uint8_t*), uint32_t lba,
                               SectorBytes& sector)
{
    for (int attempt = 0; attempt < PcmReader::kReadAttempts; ++attempt)
        if (readSector(device(), lba, sector.data()) == CUEIFY_OK)
            return;
    throw cannotRead(lba);
}

UserError RawSectorReader::cannotRead(uint32_t lba) const
{
    const std::string reason = discAccessReason();
    return UserError("cannot read LBA " + std::to_string(lba) + " of " + m_drive +
                     (reason.empty() ? std::string() : ": " + reason));
}

} // namespace vantorcd
