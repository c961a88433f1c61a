#include "PcmReader.h"

#include "UserError.h"

#include <algorithm>
#include <discgeometry/DiscGeometry.h>

namespace vantorcd {
namespace {

// The parser stamps sector k with k * 13333 µs and seeks to time / 13333.
constexpr Vantor::avTime kSectorDuration = 13333;
using discgeometry::kRawSectorBytes;

} // namespace

PcmReader::PcmReader(Vantor::SP<Vantor::Proc::IParser> parser, const TrackExtent& extent,
                     const SampleRange& range, std::function<std::string()> readFailureReason)
    : m_parser(std::move(parser)), m_extent(extent), m_range(range),
      m_readFailureReason(std::move(readFailureReason)), m_position(range.begin), m_nextSector(0)
{
    const uint32_t firstSector = static_cast<uint32_t>(range.begin / kSamplesPerSector);
    if (firstSector == 0)
        return;
    // The parser seeks by whole seconds of track time at most; the sectors between the time it
    // allows and the wanted one are read and dropped.
    const Vantor::avTime time = std::min(firstSector * kSectorDuration, m_parser->GetDuration());
    m_parser->Seek(0, time);
    m_nextSector = static_cast<uint32_t>(time / kSectorDuration);
}

PcmChunk PcmReader::next()
{
    while (m_position < m_range.end) {
        const uint32_t sector = m_nextSector;
        m_packet = readSector();
        ++m_nextSector;
        const uint64_t sectorBegin = uint64_t{sector} * kSamplesPerSector;
        const uint64_t sectorEnd = sectorBegin + kSamplesPerSector;
        if (sectorEnd <= m_position)
            continue;
        const uint64_t end = std::min(sectorEnd, m_range.end);
        const PcmChunk chunk{m_packet->GetData() + (m_position - sectorBegin) * kBytesPerSample,
                             static_cast<size_t>((end - m_position) * kBytesPerSample)};
        m_position = end;
        return chunk;
    }
    return {};
}

Vantor::SP<Vantor::Proc::IDataPacket> PcmReader::readSector()
{
    if (m_nextSector >= m_extent.sectorCount)
        throw UserError("track " + std::to_string(m_extent.track) + " ended before sector " +
                        std::to_string(m_nextSector));
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        m_rereads += attempt > 0 ? 1 : 0;
        Vantor::SP<Vantor::Proc::IDataPacket> packet = m_parser->Read();
        if (!packet)
            continue;
        if (packet->GetSize() != kRawSectorBytes)
            throw UserError("the CD plug-in delivered a packet of " + std::to_string(packet->GetSize()) +
                            " bytes instead of one sector");
        if (packet->GetPts() != m_nextSector * kSectorDuration)
            throw UserError("the CD plug-in delivered a packet stamped " + std::to_string(packet->GetPts()) +
                            " µs where sector " + std::to_string(m_nextSector) + " was due");
        return packet;
    }
    failAt(m_nextSector);
}

void PcmReader::failAt(uint32_t sector) const
{
    const std::string reason = m_readFailureReason ? m_readFailureReason() : std::string();
    throw UserError("cannot read sector " + std::to_string(sector) + " of track " +
                    std::to_string(m_extent.track) + " (LBA " + std::to_string(m_extent.firstLba + sector) +
                    "): " + (reason.empty() ? "read error" : reason));
}

} // namespace vantorcd
