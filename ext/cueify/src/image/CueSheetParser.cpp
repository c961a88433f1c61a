#include "image/CueSheetParser.h"

#include "image/ImageError.h"

#include <cueify/constants.h>

#include <libcue.h>

#include <memory>
#include <mutex>

namespace cueify {
namespace {

struct CdDelete
{
    void operator()(Cd* cd) const noexcept { cd_delete(cd); }
};
using CdOwner = std::unique_ptr<Cd, CdDelete>;

// libcue's parser keeps its state in globals.
std::mutex& parserMutex()
{
    static std::mutex mutex;
    return mutex;
}

CdOwner parsed(const std::string& text)
{
    const std::lock_guard<std::mutex> lock(parserMutex());
    CdOwner cd(cue_parse_string(text.c_str()));
    if (!cd)
        throw ImageError("malformed CUE sheet");
    return cd;
}

TrackKind kindOf(const Track* track)
{
    switch (track_get_mode(track)) {
    case MODE_AUDIO:
        return TrackKind::Audio;
    case MODE_MODE1_RAW:
        return TrackKind::Mode1;
    case MODE_MODE2_RAW:
        return TrackKind::Mode2;
    default:
        throw ImageError("unsupported track mode");
    }
}

uint8_t flagsOf(const Track* track)
{
    uint8_t flags = 0;
    if (track_is_set_flag(track, FLAG_PRE_EMPHASIS))
        flags |= CUEIFY_TOC_TRACK_HAS_PREEMPHASIS;
    if (track_is_set_flag(track, FLAG_COPY_PERMITTED))
        flags |= CUEIFY_TOC_TRACK_PERMITS_COPYING;
    if (track_is_set_flag(track, FLAG_FOUR_CHANNEL))
        flags |= CUEIFY_TOC_TRACK_IS_QUADRAPHONIC;
    return flags;
}

SheetTrack sheetTrackOf(const Track* track)
{
    const char* fileName = track_get_filename(track);
    const long index0 = track_get_index(track, 0);
    const long index1 = track_get_index(track, 1);
    if (!fileName || *fileName == '\0')
        throw ImageError("track without FILE");
    if (index1 < 0)
        throw ImageError("track without INDEX 01");
    SheetTrack sheetTrack;
    sheetTrack.fileName = fileName;
    sheetTrack.kind = kindOf(track);
    sheetTrack.flags = flagsOf(track);
    if (index0 >= 0)
        sheetTrack.index0 = FileSector{static_cast<uint64_t>(index0)};
    sheetTrack.index1 = FileSector{static_cast<uint64_t>(index1)};
    return sheetTrack;
}

} // namespace

std::vector<SheetTrack> parseCueSheet(const std::string& text)
{
    const CdOwner cd = parsed(text);
    const int count = cd_get_ntrack(cd.get());
    std::vector<SheetTrack> tracks;
    for (int i = 1; i <= count; ++i) {
        const Track* track = cd_get_track(cd.get(), i);
        if (!track)
            throw ImageError("CUE sheet lost a track");
        tracks.push_back(sheetTrackOf(track));
    }
    return tracks;
}

} // namespace cueify
