// A plain description of a synthetic audio CD, from which DiscWriter writes a disc image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mkdisc {

enum class TrackMode
{
    Audio,    // CUE "AUDIO"
    Mode1Raw, // CUE "MODE1/2352"
    Mode2Raw  // CUE "MODE2/2352"
};

enum class DataFileFormat
{
    Binary, // FILE "..." BINARY: raw 2352-byte sectors
    Wave    // FILE "..." WAVE: RIFF PCM, 16-bit stereo, 44.1 kHz
};

struct TrackDescription
{
    TrackMode mode = TrackMode::Audio;
    uint32_t sectors = 0;              // from INDEX 01 to the next track's INDEX 00 (or the end)
    uint32_t storedPregapSectors = 0;  // INDEX 00 pregap held in the data file before INDEX 01
    uint32_t silentPregapSectors = 0;  // CUE PREGAP: generated, not held in the data file
    uint32_t index2Sectors = 0;        // INDEX 02 this many sectors after INDEX 01; 0: none
    bool digitalCopyPermitted = false; // FLAGS DCP
    bool fourChannel = false;          // FLAGS 4CH
    bool preEmphasis = false;          // FLAGS PRE
    uint8_t dataModeByte = 0;          // data tracks: the byte at offset 16 of every sector
};

struct SessionDescription
{
    std::vector<TrackDescription> tracks; // numbered on across sessions: 1, 2, ...
};

struct DiscDescription
{
    std::string name = "disc";                // base name of the CUE sheet and data files
    std::vector<SessionDescription> sessions; // one or more
    DataFileFormat format = DataFileFormat::Binary;
    bool filePerTrack = false; // one FILE per track instead of one for the whole disc
    bool writeCdaFiles = true; // TrackNN.cda beside the CUE sheet, for audio tracks
};

} // namespace mkdisc
