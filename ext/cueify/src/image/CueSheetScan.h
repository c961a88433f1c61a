// A line-by-line check of a CUE sheet before libcue parses it, and what the sheet says that
// libcue does not report: track numbers, sessions (REM SESSION), the FILE each track belongs
// to and its type, and generated gaps (libcue folds PREGAP into the INDEX 00 pregap when a
// track has both). libcue leaks its partial result on every sheet it rejects, so sheets it
// would reject should stop here.
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

// Throws ImageError for an unknown keyword or a line without the values its keyword takes;
// a FILE type other than BINARY and WAVE or a track mode other than AUDIO, MODE1/2352 and
// MODE2/2352; a sheet without tracks, track numbers that do not count up by one, sessions
// that do not count up from 1 or hold no track; a TRACK before any FILE or a track line
// before any TRACK; a track without INDEX 01; a malformed time.
std::vector<ScannedTrack> scanCueSheet(std::string_view text);

} // namespace cueify
