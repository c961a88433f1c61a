// Writes synthetic disc images (CUE sheet, data files, TrackNN.cda files) and tells
// what every written sector holds, so tests can compare bytes.
#pragma once

#include "mkdisc/DiscDescription.h"

#include <discgeometry/DiscGeometry.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace mkdisc {

using discgeometry::kFramesPerSecond;
using discgeometry::kLeadInFrames;
using discgeometry::kRawSectorBytes;
using discgeometry::kSessionGapFrames;

using Sector = std::array<uint8_t, kRawSectorBytes>;

struct WrittenDisc
{
    std::filesystem::path cueSheet;
    std::vector<std::filesystem::path> dataFiles;
    std::vector<std::filesystem::path> cdaFiles; // one per audio track, in track order
    uint32_t serial = 0;                         // the serial number written into the .cda files
};

// Where one track lies on the disc, as a drive's full TOC reports it.
struct TrackLayout
{
    uint8_t number = 0;
    uint8_t session = 0;
    bool audio = true;
    uint32_t startLba = 0;      // logical block address of INDEX 01
    uint32_t lengthSectors = 0; // as the full TOC counts it: up to the next track's start or the lead-out
};

struct DiscLayout
{
    std::vector<TrackLayout> tracks;
    std::vector<uint32_t> sessionLeadOutLba; // one per session
};

// Writes the disc into directory (created if missing): the data files first, then the CUE sheet,
// then the .cda files. Throws std::runtime_error naming the file on failure, and
// std::invalid_argument for a description that no disc can have (no tracks, more than 99, a data
// track in a WAVE image, longer than 99:59:74, a name that cannot be a CUE file name).
WrittenDisc writeDisc(const DiscDescription& description, const std::filesystem::path& directory);

// The layout a drive reports for the disc that writeDisc writes. A track's parts follow each other:
// PREGAP, stored INDEX 00 pregap, then INDEX 01. Session 1 starts at LBA 0 and each later session
// kSessionGapFrames after the previous lead-out. Throws std::invalid_argument as writeDisc does.
DiscLayout layoutOf(const DiscDescription& description);

// The serial number of the disc's .cda files (cdaSerialNumber over its audio tracks); 0 when the
// disc has no audio track.
uint32_t discSerialNumber(const DiscLayout& layout);

// The content of the sector at a logical block address of the written disc
// (pregaps included; generated PREGAP sectors are silence). Throws std::out_of_range for an
// address in a lead-out, in the gap between sessions or past the disc, and std::invalid_argument
// as writeDisc does.
Sector sectorAt(const DiscDescription& description, uint32_t lba);

} // namespace mkdisc
