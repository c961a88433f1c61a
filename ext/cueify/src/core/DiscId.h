// FreeDB (CDDB) and MusicBrainz disc IDs from the addresses of a disc's tracks.
#pragma once

#include "core/Addressing.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cueify {

struct IdTrack
{
    uint8_t number = 0;
    AbsoluteFrame start;
    bool data = false;
};

// The tracks that count, in disc order, and the lead-out they end at.
struct IdDisc
{
    std::vector<IdTrack> tracks;
    AbsoluteFrame leadOut;
};

// The classic CDDB ID: digit sums of the tracks' start seconds, kept whole and reduced modulo
// 255 only at the end, the disc's length in seconds and the number of tracks.
uint32_t freedbId(const IdDisc& disc);

// The disc as MusicBrainz hashes it: data tracks at the end of the disc are left out, and the
// lead-out becomes the start of the first of them less the data session's gap.
IdDisc withoutTrailingData(const IdDisc& disc);

// SHA-1 of the disc's first and last track number and 100 addresses (the lead-out, then tracks
// 1 to 99), in base64 with '.', '_' and '-' for '+', '/' and '=': always 28 characters.
std::string musicbrainzId(const IdDisc& disc);

} // namespace cueify
