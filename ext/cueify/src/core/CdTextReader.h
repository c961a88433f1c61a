// CD-Text from packs as READ TOC/PMA/ATIP format 0101b returns them.
#pragma once

#include "core/CdTextData.h"

#include <cstddef>
#include <cstdint>

namespace cueify {

// The 4-byte header's length counts the bytes after its first two. Packs with the extension
// flag or of an unknown type are skipped, and CRCs are not checked: drives hand on what they
// read. A block counts only with all three of its size-information packs. Throws Failure:
// CUEIFY_ERR_TRUNCATED when the data is shorter than its header says, CUEIFY_ERR_CORRUPTED when
// it is not whole packs or their numbers contradict each other.
CdTextData readCdTextPacks(const uint8_t* buffer, size_t size);

} // namespace cueify
