#include "DiscSerial.h"

namespace vantorcd {
namespace {

constexpr uint32_t kLeadInFrames = 150;

// The lead-out that ends the audio: that of the session holding the last audio track.
uint32_t audioLeadOutFrame(const DiscToc& disc, const TocTrack& lastAudio)
{
    return disc.sessionLeadOutLba.at(lastAudio.session - 1) + kLeadInFrames;
}

} // namespace

uint32_t cdaSerialOf(const DiscToc& disc)
{
    std::vector<uint32_t> starts;
    const TocTrack* lastAudio = nullptr;
    for (const TocTrack& track : disc.tracks) {
        if (!track.audio)
            continue;
        starts.push_back(track.startLba + kLeadInFrames);
        lastAudio = &track;
    }
    if (!lastAudio)
        return 0;
    return mkdisc::cdaSerialNumber(starts, audioLeadOutFrame(disc, *lastAudio));
}

std::vector<mkdisc::CdaTrack> cdaTracksOf(const DiscToc& disc)
{
    const uint32_t serial = cdaSerialOf(disc);
    std::vector<mkdisc::CdaTrack> files;
    for (const TocTrack& track : disc.tracks) {
        if (track.audio)
            files.push_back(
                {static_cast<uint16_t>(track.number), serial, track.startLba, track.lengthSectors});
    }
    return files;
}

} // namespace vantorcd
