#include "Msf.h"

#include <cstdio>

namespace mkdisc {

std::string cueTime(uint32_t frameCount)
{
    const Msf msf = toMsf(frameCount);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", msf.minutes, msf.seconds, msf.frames);
    return text;
}

} // namespace mkdisc
