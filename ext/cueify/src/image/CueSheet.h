// What a CUE sheet says about a disc, as one model: its data files, its tracks with their
// modes, indices, gaps, flags and sessions, and the catalogue number, ISRCs and CD-Text.
#pragma once

#include "core/Addressing.h"
#include "image/DataFile.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace cueify {

// The TRACK modes, named after the bytes one sector takes in the data file.
enum class TrackMode
{
    Audio,      // AUDIO: 2352 bytes of samples
    Cdg,        // CDG: 2352 bytes of samples and 96 of sub-channel
    Mode1Raw,   // MODE1/2352
    Mode1User,  // MODE1/2048: user data only
    Mode2Raw,   // MODE2/2352, CDI/2352
    Mode2Body,  // MODE2/2336, CDI/2336: subheader and data, no sync or header
    Mode2Form1, // MODE2/2048: user data of form 1
    Mode2Form2  // MODE2/2324: user data of form 2
};

// Bytes one sector of a track in this mode takes in its data file.
uint32_t storedSectorBytes(TrackMode mode) noexcept;

constexpr bool isDataMode(TrackMode mode) noexcept
{
    return mode != TrackMode::Audio && mode != TrackMode::Cdg;
}

// The CD-Text fields a sheet can set, for the disc or for one track.
enum class CdTextField
{
    Title,
    Performer,
    Songwriter,
    Composer,
    Arranger,
    Message,
    DiscId,
    Genre,
    UpcIsrc // UPC_EAN for the disc; a track's ISRC line sets its own field
};
using CdText = std::map<CdTextField, std::string>;

struct CueFile
{
    std::string name; // as the FILE line writes it
    DataFileType type = DataFileType::Binary;
    size_t line = 0;
};

// A position in the sheet's files: a file and a frame (sector) counted from the file's start.
struct FilePosition
{
    size_t file = 0;
    FileSector frame;
};

struct CueIndex
{
    uint8_t number = 0;
    FilePosition position;
    size_t line = 0;
};

struct CueTrack
{
    uint8_t number = 0;
    TrackMode mode = TrackMode::Audio;
    uint8_t session = 1;
    uint8_t flags = 0;             // CONTROL bits from FLAGS (CUEIFY_TOC_TRACK_*)
    size_t file = 0;               // the FILE its TRACK line follows
    bool opensFile = false;        // no INDEX of that file comes before it: it owns the file's start
    std::vector<CueIndex> indices; // ascending numbers from 00 or 01, INDEX 01 among them
    FrameCount pregap;             // PREGAP: generated silence before the track
    FrameCount postgap;            // POSTGAP: generated silence after it
    std::string isrc;
    CdText cdText;
    size_t line = 0; // of its TRACK line
};

struct CueSheet
{
    std::vector<CueFile> files;
    std::vector<CueTrack> tracks; // in disc order, numbers counting up by one
    std::string catalog;          // CATALOG: the 13-digit media catalogue number
    std::string cdTextFile;       // CDTEXTFILE
    CdText cdText;
    std::map<std::string, std::string> remarks; // REM GENRE, DATE, COMMENT, DISCID by key
};

} // namespace cueify
