// Decoding of the reply to READ TOC/PMA/ATIP format 2 (the full TOC), kept free of any device
// so that it can be fed captured or constructed replies.
#pragma once

#include "core/FullTocData.h"

#include <cstddef>
#include <cstdint>

namespace cueify {

// The TOC of the size bytes of reply (bytes past the reply's length field are ignored).
// ordinaryToc, the drive's READ TOC format 0 when known, decides between binary and BCD where the
// reply could be either. Throws Failure: CUEIFY_ERR_TRUNCATED when the length field claims more
// than size bytes, CUEIFY_ERR_CORRUPTED when the descriptors are malformed.
FullTocData parseFullTocReply(const uint8_t* reply, size_t size, const FullTocData* ordinaryToc = nullptr);

} // namespace cueify
