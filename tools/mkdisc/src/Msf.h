// Minutes, seconds and frames (75 frames a second): the unit of CUE sheets, TOCs and sector headers.
#pragma once

#include <cstdint>
#include <string>

namespace mkdisc {

struct Msf
{
    uint32_t minutes = 0;
    uint32_t seconds = 0;
    uint32_t frames = 0;
};

Msf toMsf(uint32_t frameCount) noexcept;

// "mm:ss:ff", as CUE sheets write positions and lengths.
std::string cueTime(uint32_t frameCount);

// Two decimal digits in one byte, as a data sector's header holds its address. value < 100.
uint8_t toBcd(uint32_t value) noexcept;

} // namespace mkdisc
