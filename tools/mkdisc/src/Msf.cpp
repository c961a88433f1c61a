#include "Msf.h"

#include "mkdisc/DiscWriter.h"

#include <cstdio>

namespace mkdisc {

Msf toMsf(uint32_t frameCount) noexcept
{
    constexpr uint32_t framesPerMinute = 60 * kSectorsPerSecond;
    return {frameCount / framesPerMinute, frameCount / kSectorsPerSecond % 60,
            frameCount % kSectorsPerSecond};
}

std::string cueTime(uint32_t frameCount)
{
    const Msf msf = toMsf(frameCount);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", msf.minutes, msf.seconds, msf.frames);
    return text;
}

uint8_t toBcd(uint32_t value) noexcept
{
    return static_cast<uint8_t>((value / 10 % 10) << 4 | value % 10);
}

} // namespace mkdisc
