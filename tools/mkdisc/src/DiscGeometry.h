// Where every part of every track lies, on the disc and in the data files.
#pragma once

#include "mkdisc/DiscDescription.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mkdisc {

// A track's parts follow each other on the disc: generated PREGAP, stored INDEX 00 pregap,
// then the track itself from INDEX 01. Only the stored parts are in the data file.
struct TrackPlacement
{
    TrackDescription description;
    uint8_t number = 0;
    uint8_t session = 0;          // from 1
    uint32_t silentPregapLba = 0; // first sector of the PREGAP (equals storedPregapLba when there is none)
    uint32_t storedPregapLba = 0; // first sector of the INDEX 00 part (equals startLba when there is none)
    uint32_t startLba = 0;        // INDEX 01
    uint32_t endLba = 0;          // one past the track's last sector
    size_t fileIndex = 0;         // the data file that holds the stored parts
    uint32_t fileSector = 0;      // position in that file of the first stored sector
};

struct DiscGeometry
{
    std::vector<TrackPlacement> tracks;
    std::vector<uint32_t> sessionLeadOutLba;
    std::vector<std::string> dataFileNames; // in the order of the CUE sheet's FILE lines
};

// Throws std::invalid_argument for a description that no disc can have.
DiscGeometry placeTracks(const DiscDescription& description);

} // namespace mkdisc
