// A ripped track's CRCs held against AccurateRip's reply for its disc.
#pragma once

#include "AccurateRipId.h"
#include "DbarReply.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantorcd {

// The responses that are about this disc: the reply may hold other pressings' IDs.
std::vector<DbarResponse> responsesFor(const std::vector<DbarResponse>& reply, const AccurateRipId& disc);

// "accurate (confidence N, v2)", "not accurate" or "not in database" for a disc track, from the
// responses for this disc. Entry i of a response is disc track i + 1, data tracks included, so
// the last audio track of a disc that starts with data has none. A v2 match wins over a v1 match;
// among matches the highest confidence is given.
std::string accurateRipVerdict(const std::vector<DbarResponse>& responses, unsigned discTrack, uint32_t v1,
                               uint32_t v2);

} // namespace vantorcd
