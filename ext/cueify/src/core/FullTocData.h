// The full table of contents as a drive reports it, kept as plain data.
#pragma once

#include "core/Addressing.h"

#include <cstdint>
#include <vector>

namespace cueify {

struct TocTrack
{
    uint8_t number = 0;
    uint8_t session = 0;
    uint8_t control = 0;    // CONTROL nibble (CUEIFY_TOC_TRACK_*)
    uint8_t subQFormat = 1; // ADR nibble
    AbsoluteFrame start;    // index 01
    AbsoluteFrame atime;    // where in the lead-in the drive read this entry; drives often say 0
};

// What the full TOC says of one of a session's points A0, A1 and A2 besides its value.
struct TocPoint
{
    uint8_t control = 0;
    uint8_t subQFormat = 1;
    AbsoluteFrame atime;
};

struct TocSession
{
    uint8_t number = 0;
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    uint8_t type = 0; // CUEIFY_SESSION_*
    AbsoluteFrame leadOut;
    TocPoint firstTrackPoint; // A0
    TocPoint lastTrackPoint;  // A1
    TocPoint leadOutPoint;    // A2
};

// Sessions and tracks are kept in ascending order of their numbers.
struct FullTocData
{
    uint8_t firstSession = 0;
    uint8_t lastSession = 0;
    std::vector<TocSession> sessions;
    std::vector<TocTrack> tracks;
};

} // namespace cueify
