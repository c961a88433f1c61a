// The parts of a disc's identity that the cueify C API reads beyond its TOC.
#pragma once

#include "CueifyDisc.h"

#include <cueify/cueify.h>

namespace vantorcd {

// Fills disc.identity and each track's ISRC, pregap and CD-Text from the open device and its full
// TOC. What the disc does not carry, or the device cannot report, stays empty.
void readDiscIdentity(cueify_device* device, cueify_full_toc* toc, DiscToc& disc);

} // namespace vantorcd
