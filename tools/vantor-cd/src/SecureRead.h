// A drive's sector confirmed by reading it again until two reads agree: a drive may deliver a
// sector it could not read cleanly with no error at all. Where the drive reports C2 errors, a read
// it flags is never kept nor taken as agreeing: a drive may interpolate over the same error the
// same way twice.
#pragma once

#include "OffsetCorrection.h"

#include <cstdint>
#include <functional>
#include <utility>

namespace vantorcd {

class SecureRead
{
public:
    static constexpr int kMaxReads = 16; // of one sector, the first read included

    // A sector from the disc itself, past the drive's cache (the disc-access library's uncached
    // read moves the cache away first): false when the drive reported C2 errors in it. Throws
    // UserError when the read fails.
    using ReadChecked = std::function<bool(uint32_t lba, SectorBytes& sector)>;

    explicit SecureRead(ReadChecked read) : m_read(std::move(read)) {}

    // sector holds a first read of lba; on return it holds what two reads without C2 errors agree
    // on. Returns the number of reads made beyond the second, which every sector takes. Throws
    // UserError naming the track and the sector when no two of kMaxReads reads agree.
    unsigned confirm(uint32_t lba, SectorBytes& sector, unsigned track);

private:
    ReadChecked m_read;
};

} // namespace vantorcd
