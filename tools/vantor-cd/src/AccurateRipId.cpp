#include "AccurateRipId.h"

#include <algorithm>
#include <cstdio>

namespace vantorcd {

std::string AccurateRipId::fileName() const
{
    char name[64];
    std::snprintf(name, sizeof name, "dBAR-%03u-%08x-%08x-%08x.bin", audioTracks, id1, id2, freedb);
    return name;
}

AccurateRipId accurateRipIdOf(const DiscToc& disc, uint32_t freedbId)
{
    AccurateRipId id;
    id.freedb = freedbId;
    for (const TocTrack& track : disc.tracks) {
        if (!track.audio)
            continue;
        ++id.audioTracks;
        id.id1 += track.startLba;
        id.id2 += std::max<uint32_t>(track.startLba, 1) * id.audioTracks;
    }
    const uint32_t leadOut = disc.sessionLeadOutLba.empty() ? 0 : disc.sessionLeadOutLba.back();
    id.id1 += leadOut;
    id.id2 += leadOut * (id.audioTracks + 1);
    return id;
}

} // namespace vantorcd
