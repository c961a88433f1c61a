// The tracks of a CUE sheet as libcue reads them.
#pragma once

#include "core/Addressing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cueify {

enum class TrackKind
{
    Audio, // AUDIO
    Mode1, // MODE1/2352
    Mode2  // MODE2/2352
};

struct SheetTrack
{
    std::string fileName; // as the FILE line writes it
    TrackKind kind = TrackKind::Audio;
    uint8_t flags = 0; // FLAGS as CONTROL bits: DCP 0x2, 4CH 0x8, PRE 0x1
    std::optional<FileSector> index0;
    FileSector index1;
};

// Throws ImageError for a sheet libcue rejects, a track without FILE or INDEX 01, or a
// track mode other than AUDIO, MODE1/2352 and MODE2/2352. Safe to call from several
// threads: calls into libcue's parser are serialised.
std::vector<SheetTrack> parseCueSheet(const std::string& text);

} // namespace cueify
