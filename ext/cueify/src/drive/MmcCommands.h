// The two MMC commands the drive backend sends itself through libcdio: READ TOC/PMA/ATIP
// format 2 and READ CD of one whole data sector.
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

} // namespace cueify
