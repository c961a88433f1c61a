// Replies to READ TOC/PMA/ATIP: the ordinary TOC (format 0), the session information (format 1)
// and the full TOC (format 2) of an emulated disc, header included.
#pragma once

#include "EmulatedDisc.h"

#include <cstdint>
#include <vector>

namespace driveemulator {

// From track `fromTrack` on, then the lead-out of the last session.
std::vector<uint8_t> ordinaryToc(const EmulatedDisc& disc, uint8_t fromTrack, bool msf);

// The first track of the last session and where it starts.
std::vector<uint8_t> sessionInfo(const EmulatedDisc& disc, bool msf);

// A0, A1, A2 and the tracks of every session from `fromSession` on; the mode-5 B0 item in each
// session that another follows. bcd: numbers as the Q sub-channel holds them, not converted.
std::vector<uint8_t> fullToc(const EmulatedDisc& disc, uint8_t fromSession, bool bcd);

} // namespace driveemulator
