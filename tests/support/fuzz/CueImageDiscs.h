// Small disc images whose CUE sheets seed cue_sheet_fuzzer; the fuzzer writes the same images at
// start, so that every seed's FILE lines name data files that exist beside the fuzzed sheet.
#pragma once

#include "TrackWords.h"

#include <vector>

namespace fuzzsupport {

// Binary and WAVE data files, one per disc or per track; stored and generated pregaps, flags,
// data tracks and a second session.
inline std::vector<mkdisc::DiscDescription> cueImageDiscs()
{
    const struct
    {
        const char* name;
        const char* trackWords;
        mkdisc::DataFileFormat format;
        bool filePerTrack;
    } discs[] = {
        {"album", "audio:30 audio:20,pregap=5,flags=dcp+4ch+pre audio:15,silence=10",
         mkdisc::DataFileFormat::Binary, false},
        {"split", "audio:12 audio:9,pregap=3", mkdisc::DataFileFormat::Binary, true},
        {"wave", "audio:10 audio:8,pregap=2", mkdisc::DataFileFormat::Wave, true},
        {"enhanced", "audio:10 audio:10 / mode2:20,byte16=2", mkdisc::DataFileFormat::Binary, false},
        {"mixed", "mode1:15,byte16=1 audio:12,pregap=4", mkdisc::DataFileFormat::Binary, false},
    };
    std::vector<mkdisc::DiscDescription> descriptions;
    for (const auto& disc : discs) {
        descriptions.push_back(testsupport::discOfTrackWords(disc.trackWords, disc.name));
        descriptions.back().format = disc.format;
        descriptions.back().filePerTrack = disc.filePerTrack;
        descriptions.back().writeCdaFiles = false;
    }
    return descriptions;
}

} // namespace fuzzsupport
