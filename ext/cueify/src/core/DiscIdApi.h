// What the disc-ID calls of the C API share with the device's.
#pragma once

#include "core/DiscId.h"
#include "core/FullTocData.h"

#include <string>

namespace cueify {

// The tracks of a full TOC in disc order with the last session's lead-out, or without the last
// session, ending at the lead-out of the one before, when there are several and withLastSession
// is false.
IdDisc idDiscOf(const FullTocData& toc, bool withLastSession);

// A malloc'ed copy for the caller to free, or null when memory runs out.
char* copiedId(const std::string& id) noexcept;

} // namespace cueify
