// The MMC commands an emulated drive answers, whichever transport carries them.
#pragma once

#include "EmulatedDrive.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace driveemulator {

struct MmcReply
{
    std::vector<uint8_t> data;  // at most the command's allocation length
    std::optional<Sense> sense; // CHECK CONDITION
};

// Answers one command descriptor block; the caller holds the drive's lock. Anything the drive
// does not know is ILLEGAL REQUEST, INVALID COMMAND OPERATION CODE.
MmcReply respond(EmulatedDrive& drive, const uint8_t* cdb);

} // namespace driveemulator
