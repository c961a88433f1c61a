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

    // read: a sector straight from the drive, throwing UserError when it fails. audioEnd: one past
    // the last audio sector, the end of the range the cache-defeating reads use.
    SecureRead(OffsetCorrection::ReadSector read, uint32_t audioEnd)
        : m_read(std::move(read)), m_audioEnd(audioEnd)
    {
    }

    // sector holds a first read of lba; on return it holds what two reads agree on. Returns the
    // number of reads made beyond the second, which every sector takes. Throws UserError naming the track and
    // the sector when no two of kMaxReads reads agree.
    unsigned confirm(uint32_t lba, SectorBytes& sector, unsigned track);

private:
    void readAgain(uint32_t lba, SectorBytes& sector);

    OffsetCorrection::ReadSector m_read;
    uint32_t m_audioEnd;
};

} // namespace vantorcd
