// The ordinary track table that libcdio reads (READ TOC format 0), as a one-session full TOC.
// It stands in where a drive refuses the full TOC, and tells at open time whether the
// handle libcdio gave is a drive holding a disc at all.
#pragma once

#include "core/FullTocData.h"

#include <cdio/cdio.h>

#include <optional>

namespace cueify {

// Nothing when the table is implausible: no tracks, track numbers outside 1 to 99, starts
// that are invalid or not ascending, or a lead-out not after the last start.
std::optional<FullTocData> readTrackTable(CdIo_t* cdio);

} // namespace cueify
