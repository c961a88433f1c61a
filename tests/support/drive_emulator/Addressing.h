// Minutes, seconds and frames of an absolute disc address, and BCD, as TOCs and sub-channels hold them.
#pragma once

#include <cstdint>

namespace driveemulator {

struct Msf
{
    uint8_t minutes;
    uint8_t seconds;
    uint8_t frames;
};

inline Msf toMsf(uint32_t absoluteFrame)
{
    return {static_cast<uint8_t>(absoluteFrame / 4500), static_cast<uint8_t>(absoluteFrame / 75 % 60),
            static_cast<uint8_t>(absoluteFrame % 75)};
}

inline uint8_t toBcd(uint8_t value)
{
    return static_cast<uint8_t>(value / 10 << 4 | value % 10);
}

} // namespace driveemulator
