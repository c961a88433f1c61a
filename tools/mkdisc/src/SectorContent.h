// What each sector of a written disc holds. Every stored sector differs from every other one, so
// a reader that is off by one sector, or reads the wrong track, gets different bytes.
#pragma once

#include "DiscGeometry.h"
#include "mkdisc/DiscWriter.h"

namespace mkdisc {

// The sector at lba of a track, for silentPregapLba <= lba < endLba: zeros in the generated
// PREGAP, a quiet tone in a stored audio pregap, the track's tone in an audio track, and raw
// data sectors in a data track.
Sector sectorOfTrack(const TrackPlacement& track, uint32_t lba);

} // namespace mkdisc
