// A cooked data sector, as a CUE sheet's MODE1/2048, MODE2/2048, MODE2/2324 or MODE2/2336 track
// stores it, expanded into the raw 2,352-byte sector a drive returns for it (ECMA-130 and the
// CD-ROM XA forms): sync, header with the sector's address and mode, subheader for mode 2, the
// stored bytes, and the error detection and correction codes.
#pragma once

#include "core/Addressing.h"

#include <cstddef>
#include <cstdint>

namespace cueify {

enum class CookedMode
{
    Mode1,      // MODE1/2048: user data, EDC, 8 zero bytes, P and Q parity
    Mode2Form1, // MODE2/2048: XA form 1 subheader, user data, EDC, P and Q parity
    Mode2Form2, // MODE2/2324: XA form 2 subheader, user data, EDC
    Mode2       // MODE2/2336: subheader and data as stored
};

constexpr size_t kMode1StoredBytes = 2048;
constexpr size_t kMode2Form1StoredBytes = 2048;
constexpr size_t kMode2Form2StoredBytes = 2324;
constexpr size_t kMode2StoredBytes = 2336;

// Bytes a sector of that mode takes in its data file.
size_t storedBytesOf(CookedMode mode) noexcept;

// Writes the raw sector at address from the storedBytesOf(mode) bytes at stored into raw, which
// holds kRawSectorBytes.
void expandCookedSector(CookedMode mode, AbsoluteFrame address, const uint8_t* stored, uint8_t* raw) noexcept;

} // namespace cueify
