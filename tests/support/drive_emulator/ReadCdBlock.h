// One block of a READ CD reply: the fields of the sector that byte 9 of the command selects,
// then C2 error pointers and Q sub-channel data as asked.
#pragma once

#include "EmulatedDisc.h"
#include "EmulatedDrive.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace driveemulator {

struct ReadCdFields
{
    uint8_t expectedType; // byte 1 bits 4-2: 0 any, 1 CD-DA, 2 mode 1, 3 mode 2, 4 and 5 mode 2 forms
    uint8_t fields; // byte 9: sync 0x80, header 0x20, sub-header 0x40, user data 0x10, EDC/ECC 0x08, C2 0x06
    uint8_t subChannel; // byte 10 bits 2-0: 0 none, 2 Q
};

// Whether the drive can deliver the block at all: the track's type must match, and the C2 and
// sub-channel selections must be ones the drive offers.
std::optional<Sense> checkReadCd(const ReadCdFields& request, const DiscTrack& track, bool offersC2Pointers);

// Appends the block for the sector read at lba of track.
void appendReadCdBlock(std::vector<uint8_t>& reply, const ReadCdFields& request, const DiscTrack& track,
                       int64_t lba, const SectorRead& read);

} // namespace driveemulator
