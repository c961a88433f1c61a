// Where the tracks of a disc image lie on the disc, and which file bytes or generated
// silence every sector of the disc comes from.
#pragma once

#include "core/Addressing.h"
#include "core/FullTocData.h"
#include "image/CueSheetParser.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace cueify {

// The first session of a later session starts this many sectors after the lead-out of the
// session before: lead-out, lead-in and the first pregap of a pressed disc. No data file holds them.
constexpr uint32_t kSessionGapSectors = 11400;

struct ImageTrack
{
    uint8_t number = 0;
    uint8_t session = 1;
    TrackKind kind = TrackKind::Audio;
    uint8_t flags = 0; // CONTROL bits from FLAGS; the data bit is added for data tracks
    size_t file = 0;   // index of the data file
    std::optional<FileSector> index0;
    FileSector index1;
    FrameCount silentPregap;
    FrameCount silentPostgap;
};

// A run of disc sectors from one place: a data file from fileStart on, or silence.
struct ImageExtent
{
    Lba start;
    uint32_t sectors = 0;
    std::optional<size_t> file; // empty: generated silence
    FileSector fileStart;
};

struct ImageLayout
{
    FullTocData toc;
    std::vector<ImageExtent> extents; // in ascending order of start, gaps between sessions left out
    Lba end;                          // the last session's lead-out: the first sector past the disc
};

// Tracks are in disc order with consecutive sessions. Every file sector belongs to the disc:
// a track that opens its file begins at the file's start, any other one at its INDEX 00
// (else INDEX 01), and a track runs up to the next track's beginning in the same file, else
// to the file's last whole sector; generated PREGAP comes before the track, POSTGAP after it.
// Throws ImageError when a track's INDEX 01 lies outside that range or the disc would
// outgrow what a TOC address can hold.
ImageLayout layOutImage(const std::vector<ImageTrack>& tracks, const std::vector<uint64_t>& fileSectorCounts);

} // namespace cueify
