// NUL-terminated strings of one pack type, run together through the 12 data bytes of
// consecutive packs, and split apart again.
#pragma once

#include "core/CdTextPack.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cueify {

struct TrackString
{
    uint8_t track = 0;
    std::string bytes; // encoded, without the terminator
};

// The packs that carry the strings, each with the track and character position of its first
// byte; the last pack is padded with zeros. Sequence numbers are left to the writer.
std::vector<CdTextPack> packStrings(uint8_t type, uint8_t block, bool doubleByte,
                                    const std::vector<TrackString>& strings);

// At most count strings, each ended by a NUL (two in double-byte text, at an even offset) or by
// the end of the data; fewer when the data ends first.
std::vector<std::string> splitStrings(std::string_view data, bool doubleByte, size_t count);

} // namespace cueify
