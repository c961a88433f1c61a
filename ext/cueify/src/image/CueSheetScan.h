// What a CUE sheet says that libcue does not report: track numbers, sessions
// (REM SESSION), the FILE each track belongs to and its type, and generated gaps
// (libcue folds PREGAP into the INDEX 00 pregap when a track has both).
#pragma once

#include "core/Addressing.h"
#include "image/DataFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace cueify {

struct ScannedTrack
{
    uint8_t number = 0;
    uint8_t session = 1;
    size_t fileLine = 0; // ordinal of the FILE line the track follows, from 0
    DataFileType fileType = DataFileType::Binary;
    FrameCount silentPregap;  // PREGAP
    FrameCount silentPostgap; // POSTGAP
};

// Throws ImageError for a sheet without tracks, with track numbers that do not count up
// by one, sessions that do not count up from 1 or hold no track, a TRACK before any FILE,
// a FILE type other than BINARY and WAVE, or a malformed time.
std::vector<ScannedTrack> scanCueSheet(std::string_view text);

} // namespace cueify
