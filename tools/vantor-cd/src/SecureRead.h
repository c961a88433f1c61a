// A drive's sector confirmed by reading it again until two reads agree: a drive may deliver a
// sector it could not read cleanly with no error at all.
#pragma once

#include "OffsetCorrection.h"

#include <cstdint>
#include <utility>

namespace vantorcd {

class SecureRead
{
public:
    static constexpr int kMaxReads = 16; // of one sector, the first read included

    // read: a sector from the disc itself, past the drive's cache (the disc-access library's
    // uncached read moves the cache away first), throwing UserError when it fails.
    explicit SecureRead(OffsetCorrection::ReadSector read) : m_read(std::move(read)) {}

    // sector holds a first read of lba; on return it holds what two reads agree on. Returns the
    // number of reads made beyond the second, which every sector takes. Throws UserError naming the track and
    // the sector when no two of kMaxReads reads agree.
    unsigned confirm(uint32_t lba, SectorBytes& sector, unsigned track);

private:
    OffsetCorrection::ReadSector m_read;
};

} // namespace vantorcd
