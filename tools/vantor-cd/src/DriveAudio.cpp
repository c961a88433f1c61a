#include "DriveAudio.h"

namespace vantorcd {

DriveAudio::DriveAudio(std::vector<const TocTrack*> tracks, DeliveredAudio::OpenParser openParser,
                       std::function<std::string()> readFailureReason, RawSectorReader raw, bool secure)
    : m_raw(std::move(raw)),
      m_delivered(std::move(tracks), std::move(openParser), std::move(readFailureReason),
                  [this](uint32_t lba, SectorBytes& sector) { m_raw.read(lba, sector); }),
      m_secure([this](uint32_t lba, SectorBytes& sector) { return m_raw.readUncached(lba, sector); })
{
    if (secure)
        m_delivered.confirmEachSector([this](uint32_t lba, SectorBytes& sector, unsigned track) {
            return m_secure.confirm(lba, sector, track);
        });
}

} // namespace vantorcd
