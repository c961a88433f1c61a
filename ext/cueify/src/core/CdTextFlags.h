// The flags byte of a CD-Text block's size information.
#pragma once

#include <cstdint>

namespace cueify {

struct CdTextFlags
{
    bool programData = false;      // the program area carries CD-Text too
    bool programCopyright = false; // that copy is copyrighted
    bool messageCopyright = false;
    bool nameCopyright = false;
    bool titleCopyright = false;

    static CdTextFlags fromByte(uint8_t byte) noexcept;
    uint8_t toByte() const noexcept;
};

} // namespace cueify
