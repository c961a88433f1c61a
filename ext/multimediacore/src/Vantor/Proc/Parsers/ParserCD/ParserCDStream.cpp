// The parser's streaming side: one raw sector per packet, repositioned by time.
#include "Vantor/Proc/Parsers/ParserCD/ParserCD.h"

#include "Vantor/Core/Interfaces/ErrorInfo.h"
#include "Vantor/Core/Interfaces/Throw.h"
#include "Vantor/Proc/DataPacketFF.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"

#include <discgeometry/DiscGeometry.h>
#include <glog/logging.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <memory>

namespace Vantor {
namespace Proc {

namespace {

struct PacketReleaser
{
    void operator()(AVPacket* packet) const noexcept { ReleasePacket(packet); }
};

// Owns a packet from CreatePacket until DataPacketFF takes it over.
using OwnedPacket = std::unique_ptr<AVPacket, PacketReleaser>;

// Every raw sector stands alone, so every packet is a key frame.
OwnedPacket CreateSectorPacket()
{
    OwnedPacket packet(CreatePacket(discgeometry::kRawSectorBytes));
    packet->flags |= AV_PKT_FLAG_KEY;
    return packet;
}

} // namespace

SP<IDataPacket> ParserCD::Read()
{
    if (m_currentSector >= m_sectorCount)
        return nullptr;

    OwnedPacket packet = CreateSectorPacket();
    const uint32_t lba = m_firstSector + m_currentSector;
    const int result = cueify_device_read_raw(m_device.get(), lba, packet->data);
    if (result != CUEIFY_OK) {
        // Not fatal: the position stays, so the next Read retries the same sector.
        LOG(ERROR) << CueifyError2String(result);
        return nullptr;
    }

    // Stamped from the index before it advances; 13333 us a sector, so the stamps drift
    // behind real time by 1/3 us per sector.
    const avTime timestamp = static_cast<avTime>(m_currentSector) * m_sectorDuration;
    ++m_currentSector;
    return DataPacketFF::Create(packet.release(), MEDIA_TYPE_AUDIO, timestamp, timestamp, m_sectorDuration);
}

void ParserCD::Seek(Index stream, avTime time)
{
    if (time < 0 || time > m_duration)
        VANTOR_THROW(Vantor::Exception, << ErrorDescription("Seek error: invalid seek time position")
                                        << ErrorFilename(m_path.utf8string()) << ErrorStreamIndex(stream));
    if (stream >= this->GetStreamCount())
        VANTOR_THROW(Vantor::Exception, << ErrorDescription("Seek error: invalid seek stream index")
                                        << ErrorFilename(m_path.utf8string()) << ErrorStreamIndex(stream));

    // Not clamped to the track: a seek to the very end lands past the last sector whenever the
    // 13333 us sector is shorter than the true 1/75 s, and Read then reports the end.
    m_currentSector = static_cast<uint32_t>(time / m_sectorDuration);
}

} // namespace Proc
} // namespace Vantor
