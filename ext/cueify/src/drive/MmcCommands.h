// The MMC commands the drive backend sends itself through libcdio: READ TOC/PMA/ATIP format 2
// and READ CD of one whole sector, with or without C2 error pointers.
#pragma once

#include "core/Addressing.h"

#include <cdio/cdio.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cueify {

// The full-TOC reply, header included, as the drive sent it; none when the drive refuses the command.
std::optional<std::vector<uint8_t>> readFullTocReply(const CdIo_t* cdio);

// All 2352 bytes of a data sector: sync, header, sub-header, user data, EDC/ECC.
// True only when the drive succeeded and the sector's header names the sector asked for.
bool readRawDataSector(const CdIo_t* cdio, Lba lba, uint8_t* sector);

// A CD-DA sector; true only when libcdio reports success.
bool readRawAudioSector(const CdIo_t* cdio, Lba lba, uint8_t* sector);

// count whole sectors of one track, audio or data, as one READ CD into count * 2352 bytes.
// True only when the drive delivered them all and, for data, every header names its sector;
// a failure says nothing about which sector failed.
bool readRawSectors(const CdIo_t* cdio, Lba lba, uint32_t count, bool data, uint8_t* sectors);

// The whole sector, audio or data, followed by its kC2PointerBytes of C2 error pointers, as one
// READ CD. True only when the drive succeeded and, for data, the header names the sector.
bool readRawSectorWithC2(const CdIo_t* cdio, Lba lba, bool data, uint8_t* sectorAndPointers);

// The CD-Text reply (READ TOC format 5), header included. Throws Failure (CUEIFY_ERR_INTERNAL)
// when the drive refuses the command, as drives do for a disc without CD-Text.
std::vector<uint8_t> readCdTextReply(const CdIo_t* cdio);

// Sends SET CD SPEED for speed times 1x (0: the fastest); false when the drive refuses it.
bool setReadSpeed(const CdIo_t* cdio, unsigned speed);

// Whether the drive's capabilities page says it reports C2 error pointers.
bool offersC2Pointers(const CdIo_t* cdio);

// The Q sub-channel frame the drive reads with a sector: CONTROL and ADR, then the track and
// index numbers in binary.
struct QFrame
{
    uint8_t control = 0;
    uint8_t adr = 0;
    uint8_t track = 0;
    uint8_t index = 0;
};

// READ CD with the formatted Q sub-channel after the sector; none when the drive fails.
std::optional<QFrame> readQFrame(const CdIo_t* cdio, Lba lba);

// The media catalogue number, or a track's ISRC, from READ SUB-CHANNEL; empty when the drive says
// the disc carries none. Throws Failure (CUEIFY_ERR_INTERNAL) when the drive refuses the command.
std::string readMediaCatalogNumber(const CdIo_t* cdio);
std::string readTrackIsrc(const CdIo_t* cdio, uint8_t track);

} // namespace cueify
