#include "ConfirmedTrackAudio.h"

#include <algorithm>

namespace vantorcd {

ConfirmedTrackAudio::ConfirmedTrackAudio(const OpenedTrack& track, const SampleRange& range,
                                         std::function<std::string()> readFailureReason)
    : m_firstLba(track.toc.startLba), m_range(range), m_position(range.begin),
      m_audio(
          {&track.toc}, [parser = track.parser](const TocTrack&) { return parser; },
          std::move(readFailureReason), RawSectorReader(track.handle), true)
{
}

PcmChunk ConfirmedTrackAudio::next()
{
    if (m_position >= m_range.end)
        return {};
    const uint64_t sector = m_position / kSamplesPerSector;
    m_audio.read(m_firstLba + static_cast<uint32_t>(sector), m_sector);
    const uint64_t sectorBegin = sector * kSamplesPerSector;
    const uint64_t end = std::min(sectorBegin + kSamplesPerSector, m_range.end);
    const PcmChunk chunk{m_sector.data() + (m_position - sectorBegin) * kBytesPerSample,
                         static_cast<size_t>((end - m_position) * kBytesPerSample)};
    m_position = end;
    return chunk;
}

} // namespace vantorcd
