#include "drive/TrackTable.h"

#include <cueify/constants.h>
#include <cueify/full_toc.h>

namespace cueify {

namespace {

constexpr track_t kLastTrackNumber = 99;

std::optional<AbsoluteFrame> startOf(const CdIo_t* cdio, track_t track)
{
    lba_t start = cdio_get_track_lba(cdio, track); // libcdio's LBA counts from 00:00:00
    if (start == CDIO_INVALID_LBA || start < 0)
        return std::nullopt;
    return AbsoluteFrame{static_cast<uint32_t>(start)};
}

uint8_t controlOf(const CdIo_t* cdio, track_t track)
{
    uint8_t control = 0;
    if (cdio_get_track_format(cdio, track) != TRACK_FORMAT_AUDIO)
        control |= CUEIFY_TOC_TRACK_IS_DATA;
    if (cdio_get_track_copy_permit(cdio, track) == CDIO_TRACK_FLAG_TRUE)
        control |= CUEIFY_TOC_TRACK_PERMITS_COPYING;
    if (cdio_get_track_preemphasis(cdio, track) == CDIO_TRACK_FLAG_TRUE)
        control |= CUEIFY_TOC_TRACK_HAS_PREEMPHASIS;
    if (cdio_get_track_channels(cdio, track) == 4)
        control |= CUEIFY_TOC_TRACK_IS_QUADRAPHONIC;
    return control;
}

uint8_t sessionTypeOf(CdIo_t* cdio)
{
    switch (cdio_get_discmode(cdio)) {
    case CDIO_DISC_MODE_CD_XA:
        return CUEIFY_SESSION_MODE_2;
    case CDIO_DISC_MODE_CD_I:
        return CUEIFY_SESSION_CDI;
    default:
        return CUEIFY_SESSION_MODE_1;
    }
}

bool plausibleRange(track_t first, track_t count)
{
    return first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK && first >= 1 && count >= 1 &&
           first + count - 1 <= kLastTrackNumber;
}

// Appends the tracks; false when a start is invalid or not after the one before it.
bool readTracks(const CdIo_t* cdio, track_t first, track_t last, FullTocData& toc)
{
    for (track_t number = first; number <= last; ++number) {
        std::optional<AbsoluteFrame> start = startOf(cdio, number);
        if (!start || (!toc.tracks.empty() && start->value <= toc.tracks.back().start.value))
            return false;
        toc.tracks.push_back(TocTrack{number, 1, controlOf(cdio, number), 1, *start, {}});
    }
    return true;
}

} // namespace

std::optional<FullTocData> readTrackTable(CdIo_t* cdio)
{
    // libcdio reads the TOC again at each call after a failed read: with no disc, once is enough.
    const track_t first = cdio_get_first_track_num(cdio);
    if (first == CDIO_INVALID_TRACK)
        return std::nullopt;
    track_t count = cdio_get_num_tracks(cdio);
    if (!plausibleRange(first, count))
        return std::nullopt;
    track_t last = static_cast<track_t>(first + count - 1);
    FullTocData toc;
    std::optional<AbsoluteFrame> leadOut = startOf(cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (!readTracks(cdio, first, last, toc) || !leadOut || leadOut->value <= toc.tracks.back().start.value)
        return std::nullopt;
    toc.firstSession = 1;
    toc.lastSession = 1;
    toc.sessions.push_back(TocSession{1, first, last, sessionTypeOf(cdio), *leadOut, {}, {}, {}});
    return toc;
}

} // namespace cueify
