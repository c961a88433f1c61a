// Where the last session of a disc starts, for drives that refuse the full TOC but tell this much.
#pragma once

#include "core/Addressing.h"

#include <cdio/cdio.h>

#include <cstdint>
#include <optional>

namespace cueify {

struct LastSessionStart
{
    uint8_t number = 0;            // the last session's number
    AbsoluteFrame firstTrackStart; // where its first track starts
};

// From READ TOC format 1 (session information), else from the kernel's CDROMMULTISESSION, which
// gives the address only: a start after the disc's first track then means a second session.
// Nothing when the drive answers neither.
std::optional<LastSessionStart> readLastSessionStart(CdIo_t* cdio);

} // namespace cueify
