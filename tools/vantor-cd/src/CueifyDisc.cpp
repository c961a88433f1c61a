#include "CueifyDisc.h"

#include "DiscIdentity.h"
#include "DriveHandle.h"
#include "UserError.h"

#include <cueify/cueify.h>

#include <algorithm>
#include <memory>

namespace vantorcd {
namespace {

constexpr uint32_t kLeadInFrames = 150;

struct TocFree
{
    void operator()(cueify_full_toc* toc) const noexcept { cueify_full_toc_free(toc); }
};
using TocOwner = std::unique_ptr<cueify_full_toc, TocFree>;

std::string reasonOf(int code)
{
    switch (code) {
    case CUEIFY_ERR_NOMEM:
        return "out of memory";
    case CUEIFY_ERR_TRUNCATED:
    case CUEIFY_ERR_CORRUPTED:
        return "the table of contents is damaged";
    default:
        return "no disc, or its table of contents cannot be read";
    }
}

TocOwner readFullToc(cueify_device* device, const std::string& drive)
{
    TocOwner toc(cueify_full_toc_new());
    if (!toc)
        throw UserError("out of memory");
    const int result = cueify_device_read_full_toc(device, toc.get());
    if (result != CUEIFY_OK)
        throw UserError("cannot read the disc in " + drive + ": " + reasonOf(result));
    return toc;
}

uint32_t framesOf(cueify_msf_t msf)
{
    return msf.min * 4500u + msf.sec * 75u + msf.frm;
}

uint32_t lbaOf(cueify_msf_t address)
{
    const uint32_t frames = framesOf(address);
    return frames < kLeadInFrames ? 0 : frames - kLeadInFrames;
}

TocTrack trackOf(cueify_full_toc* toc, uint8_t number, uint8_t session)
{
    TocTrack track;
    track.number = number;
    track.session = session;
    track.audio = (cueify_full_toc_get_track_control_flags(toc, number) & CUEIFY_TOC_TRACK_IS_DATA) == 0;
    track.startLba = lbaOf(cueify_full_toc_get_track_address(toc, number));
    track.lengthSectors = framesOf(cueify_full_toc_get_track_length(toc, number));
    return track;
}

DiscToc discOf(cueify_full_toc* toc, const std::string& drive)
{
    DiscToc disc;
    disc.drive = drive;
    const uint8_t lastSession = cueify_full_toc_get_last_session(toc);
    for (uint8_t session = cueify_full_toc_get_first_session(toc); session != 0 && session <= lastSession;
         ++session) {
        const uint8_t first = cueify_full_toc_get_session_first_track(toc, session);
        const uint8_t last = cueify_full_toc_get_session_last_track(toc, session);
        for (unsigned number = first; number != 0 && number <= last; ++number)
            disc.tracks.push_back(trackOf(toc, static_cast<uint8_t>(number), session));
        disc.sessionLeadOutLba.push_back(lbaOf(cueify_full_toc_get_session_leadout_address(toc, session)));
    }
    if (disc.tracks.empty())
        throw UserError("the disc in " + drive + " has no tracks");
    return disc;
}

} // namespace

const TocTrack& DiscToc::track(unsigned number) const
{
    const auto found = std::find_if(tracks.begin(), tracks.end(),
                                    [number](const TocTrack& track) { return track.number == number; });
    if (found == tracks.end())
        throw UserError("the disc in " + drive + " has no track " + std::to_string(number) + " (it has " +
                        std::to_string(tracks.size()) + ")");
    return *found;
}

unsigned DiscToc::audioTrackCount() const noexcept
{
    return static_cast<unsigned>(
        std::count_if(tracks.begin(), tracks.end(), [](const TocTrack& track) { return track.audio; }));
}

DiscToc readDiscToc(const DriveHandle& handle, DiscDetail detail)
{
    const TocOwner toc = readFullToc(handle.device(), handle.drive());
    DiscToc disc = discOf(toc.get(), handle.drive());
    if (detail == DiscDetail::Identity)
        readDiscIdentity(handle.device(), toc.get(), disc);
    return disc;
}

DiscToc readDiscToc(const std::string& drive, DiscDetail detail)
{
    return readDiscToc(DriveHandle(drive), detail);
}

} // namespace vantorcd
