#include "drive/DriveDevice.h"

#include "core/TocLookup.h"
#include "drive/FullTocReply.h"
#include "drive/MmcCommands.h"
#include "drive/TrackTable.h"

#include <cueify/constants.h>
#include <cueify/error.h>

#include <array>
#include <cstring>
#include <limits>

namespace cueify {

namespace {

using Lock = std::lock_guard<std::mutex>;

// The track whose sectors hold the address: the last one starting at or before it, within its
// session's lead-out. Addresses before the first track are its pregap. Null outside the disc
// and in the gap between sessions.
const TocTrack* trackHolding(const FullTocData& toc, AbsoluteFrame address)
{
    const TocTrack* holder = toc.tracks.empty() ? nullptr : &toc.tracks.front();
    for (const TocTrack& track : toc.tracks)
        if (track.start.value <= address.value)
            holder = &track;
    const TocSession* session = holder != nullptr ? findSession(toc, holder->session) : nullptr;
    return session != nullptr && address.value < session->leadOut.value ? holder : nullptr;
}

bool isBeyondAnyDisc(Lba lba)
{
    return lba.value > std::numeric_limits<uint32_t>::max() - kLeadInFrames;
}

} // namespace

DriveDevice::DriveDevice(CdioHandle cdio, FullTocData toc) noexcept
    : m_cdio(std::move(cdio)), m_toc(std::move(toc))
{
}

int DriveDevice::readFullToc(FullTocData& toc)
{
    Lock lock(m_mutex);
    int result = readTocFromDrive(toc);
    if (result == CUEIFY_OK)
        m_toc = toc;
    return result;
}

int DriveDevice::readTocFromDrive(FullTocData& toc)
{
    std::vector<uint8_t> reply;
    if (readFullTocReply(m_cdio.get(), reply) == CUEIFY_OK)
        return parseFullTocReply(reply.data(), reply.size(), toc);
    std::optional<FullTocData> table = readTrackTable(m_cdio.get());
    toc = table ? std::move(*table) : FullTocData{};
    return table ? CUEIFY_OK : CUEIFY_ERR_INTERNAL;
}

int DriveDevice::readRawSector(Lba lba, uint8_t* buffer)
{
    Lock lock(m_mutex);
    const TocTrack* track =
        buffer != nullptr && !isBeyondAnyDisc(lba) ? trackHolding(m_toc, toAbsolute(lba)) : nullptr;
    if (track == nullptr)
        return CUEIFY_ERR_BADARG;
    // The caller's buffer is written only once every byte has arrived.
    std::array<uint8_t, kRawSectorBytes> sector{};
    int result = (track->control & CUEIFY_TOC_TRACK_IS_DATA) != 0
                     ? readRawDataSector(m_cdio.get(), lba, sector.data())
                     : readRawAudioSector(m_cdio.get(), lba, sector.data());
    if (result == CUEIFY_OK)
        std::memcpy(buffer, sector.data(), sector.size());
    return result;
}

} // namespace cueify
