#include "AccurateRipVerdict.h"

namespace vantorcd {

std::vector<DbarResponse> responsesFor(const std::vector<DbarResponse>& reply, const AccurateRipId& disc)
{
    std::vector<DbarResponse> matching;
    for (const DbarResponse& response : reply)
        if (response.id1 == disc.id1 && response.id2 == disc.id2 && response.freedb == disc.freedb &&
            response.tracks.size() == disc.audioTracks)
            matching.push_back(response);
    return matching;
}

std::string accurateRipVerdict(const std::vector<DbarResponse>& responses, unsigned discTrack, uint32_t v1,
                               uint32_t v2)
{
    unsigned bestV1 = 0, bestV2 = 0;
    bool known = false;
    for (const DbarResponse& response : responses) {
        if (discTrack == 0 || discTrack > response.tracks.size())
            continue;
        const DbarTrack& entry = response.tracks[discTrack - 1];
        // A confidence of 0 marks a track that no submission of this response covers.
        if (entry.confidence == 0)
            continue;
        known = true;
        if (entry.crc == v2 && entry.confidence > bestV2)
            bestV2 = entry.confidence;
        if (entry.crc == v1 && entry.confidence > bestV1)
            bestV1 = entry.confidence;
    }
    if (bestV2 > 0)
        return "accurate (confidence " + std::to_string(bestV2) + ", v2)";
    if (bestV1 > 0)
        return "accurate (confidence " + std::to_string(bestV1) + ", v1)";
    return known ? "not accurate" : "not in database";
}

} // namespace vantorcd
