// AccurateRip's reply for the disc being ripped, from a file or a URL. A reply that cannot be had
// leaves the rip unverified rather than stopping it.
#pragma once

#include "AccurateRipId.h"
#include "DbarReply.h"

#include <string>
#include <vector>

namespace vantorcd {

struct AccurateRipReply
{
    bool received = false;               // the database answered: a reply, or "not found"
    std::vector<DbarResponse> responses; // those about this disc
    std::string note;                    // what happened, for the log and standard error
};

// source is a URL (http:// or https://) or a file. Never throws: a failure is in the note.
AccurateRipReply loadAccurateRipReply(const std::string& source, const AccurateRipId& disc);

// The verdict of a disc track whose audio has these CRCs; "not verified" without a reply.
std::string verdictOf(const AccurateRipReply& reply, unsigned discTrack, uint32_t v1, uint32_t v2);

} // namespace vantorcd
