// Short ways to describe the discs of the tests.
#pragma once

#include "mkdisc/DiscSpec.h"

#include <initializer_list>

namespace mkdisc::test {

inline TrackSpec audio(uint32_t sectors, uint32_t storedPregap = 0, uint32_t silentPregap = 0)
{
    TrackSpec track;
    track.sectors = sectors;
    track.storedPregapSectors = storedPregap;
    track.silentPregapSectors = silentPregap;
    return track;
}

inline TrackSpec data(TrackMode mode, uint32_t sectors, uint8_t byte16 = 0, uint32_t storedPregap = 0,
                      uint32_t silentPregap = 0)
{
    TrackSpec track = audio(sectors, storedPregap, silentPregap);
    track.mode = mode;
    track.dataModeByte = byte16;
    return track;
}

inline DiscSpec disc(std::initializer_list<SessionSpec> sessions)
{
    DiscSpec spec;
    spec.sessions = sessions;
    return spec;
}

} // namespace mkdisc::test
