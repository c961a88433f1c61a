// The CUE sheet of a rip: the disc's audio tracks in the files written, each track's pregap as
// INDEX 00 at the end of the previous file.
#pragma once

#include "CueifyDisc.h"
#include "RippedTrack.h"

#include <string>
#include <vector>

namespace vantorcd {

// tracks in disc order, a track 0 (the audio before track 1) first when there is one.
std::string ripCueSheet(const DiscIdentity& disc, const std::vector<RippedTrack>& tracks);

// m:ss:ff of a sector count, 75 sectors a second.
std::string cueTime(uint32_t sectors);

} // namespace vantorcd
