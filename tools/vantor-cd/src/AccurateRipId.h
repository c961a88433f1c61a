// The three numbers by which AccurateRip's database knows a disc, and the name of its file.
#pragma once

#include "CueifyDisc.h"

#include <cstdint>
#include <string>

namespace vantorcd {

struct AccurateRipId
{
    unsigned audioTracks = 0;
    uint32_t id1 = 0;    // the audio tracks' start addresses and the lead-out, added up
    uint32_t id2 = 0;    // the same, each weighed by its place among the audio tracks
    uint32_t freedb = 0; // the FreeDB ID over every track, data tracks included

    // "dBAR-NNN-IIIIIIII-JJJJJJJJ-FFFFFFFF.bin"
    std::string fileName() const;
};

// Counts the audio tracks only, numbered among themselves, with the disc's last lead-out: on an
// enhanced CD the end of its data session.
AccurateRipId accurateRipIdOf(const DiscToc& disc, uint32_t freedbId);

} // namespace vantorcd
