// The error correction code of a CD-ROM sector (ECMA-130, Annex A): P and Q parity, Reed-Solomon
// codes over GF(2^8) on the 2,340 bytes from the header on, taken as 1,170 16-bit words whose
// high and low bytes are coded apart. P codes 43 columns of 24 words (26-word codewords), Q
// codes 26 diagonals of 43 words (45-word codewords) and covers P.
#pragma once

#include <cstdint>

namespace cueify {

enum class EccHeader
{
    AsStored, // mode 1: the header is part of what the code protects
    AsZero    // mode 2 form 1: the code is computed as if the header were zero
};

// Writes the 172 bytes of P parity at 2076 and the 104 bytes of Q parity at 2248 of a raw
// 2352-byte sector whose bytes 12 to 2075 are already in place.
void writeSectorEcc(uint8_t* raw, EccHeader header) noexcept;

} // namespace cueify
