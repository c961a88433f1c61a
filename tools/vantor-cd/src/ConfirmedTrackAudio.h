// A range of one drive track's audio read as rip-disc reads a drive: each sector through the
// track's parser, then read again until two reads agree.
#pragma once

#include "DiscAccess.h"
#include "DriveAudio.h"
#include "PcmReader.h"
#include "SampleRange.h"

namespace vantorcd {

class ConfirmedTrackAudio
{
public:
    // readFailureReason as for PcmReader. Reads nothing yet.
    ConfirmedTrackAudio(const OpenedTrack& track, const SampleRange& range,
                        std::function<std::string()> readFailureReason);

    // The next bytes of the range, valid until the next call; empty at its end. Throws UserError
    // naming a sector that cannot be read, or never reads the same twice.
    PcmChunk next();

private:
    uint32_t m_firstLba;
    SampleRange m_range;
    uint64_t m_position; // the next sample to deliver
    DriveAudio m_audio;
    SectorBytes m_sector{};
};

} // namespace vantorcd
