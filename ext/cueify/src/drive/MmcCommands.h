// The MMC commands the drive backend sends itself through libcdio: READ TOC/PMA/ATIP format 2
// and READ CD of one whole sector, with or without C2 error pointers.
#pragma once

#include "core/Addressing.h"

#include <cdio/cdio.h>

#include <cstdint>
#include <vector>

namespace cueify {

// The full-TOC reply, header included, as the drive sent it; CUEIFY_OK, or
// CUEIFY_ERR_INTERNAL when the drive refuses the command.
int readFullTocReply(const CdIo_t* cdio, std::vector<uint8_t>& reply);

// All 2352 bytes of a data sector: sync, header, sub-header, user data, EDC/ECC.
// CUEIFY_OK only when the drive succeeded and the sector's header names the sector asked for.
int readRawDataSector(const CdIo_t* cdio, Lba lba, uint8_t* sector);

// A CD-DA sector; CUEIFY_OK only when libcdio reports success.
int readRawAudioSector(const CdIo_t* cdio, Lba lba, uint8_t* sector);

// The whole sector, audio or data, followed by its kC2PointerBytes of C2 error pointers, as one
// READ CD. CUEIFY_OK only when the drive succeeded and, for data, the header names the sector.
int readRawSectorWithC2(const CdIo_t* cdio, Lba lba, bool data, uint8_t* sectorAndPointers);

// Whether the drive's capabilities page says it reports C2 error pointers.
bool offersC2Pointers(const CdIo_t* cdio);

} // namespace cueify
