// The .cda files of a disc: their serial number and what each one says about its track.
#pragma once

#include "CueifyDisc.h"

#include "mkdisc/CdaFile.h"

#include <cstdint>
#include <vector>

namespace vantorcd {

// The serial number that the disc's .cda files carry; 0 for a disc without audio tracks.
uint32_t cdaSerialOf(const DiscToc& disc);

// One entry per audio track, in track order.
std::vector<mkdisc::CdaTrack> cdaTracksOf(const DiscToc& disc);

} // namespace vantorcd
