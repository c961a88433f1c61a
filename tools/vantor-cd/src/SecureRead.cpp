#include "SecureRead.h"

#include "UserError.h"

#include <algorithm>
#include <vector>

namespace vantorcd {
namespace {

// Far enough that a drive's cache, which holds the sectors after the last one read, cannot
// answer the next read of the sector: about 18 MB of audio away.
constexpr uint32_t kCacheDistance = 8000;

} // namespace

bool SecureRead::readAgain(uint32_t lba, SectorBytes& sector)
{
    const uint32_t far =
        lba >= kCacheDistance ? lba - kCacheDistance : std::min(lba + kCacheDistance, m_audioEnd - 1);
    SectorBytes elsewhere;
    try {
        m_read(far, elsewhere);
    } catch (const UserError&) {
        // Only the cache had to be moved; the sector that matters is read next.
    }
    return m_read(lba, sector);
}

unsigned SecureRead::confirm(uint32_t lba, SectorBytes& sector, unsigned track)
{
    std::vector<SectorBytes> reads{sector}; // those the drive did not flag
    unsigned flagged = 0;
    for (unsigned again = 1; again < kMaxReads; ++again) {
        SectorBytes next;
        if (!readAgain(lba, next)) {
            ++flagged;
            continue;
        }
        if (std::find(reads.begin(), reads.end(), next) != reads.end()) {
            sector = next;
            return again - 1;
        }
        reads.push_back(next);
    }
    throw UserError("track " + std::to_string(track) + " cannot be read consistently: no two of " +
                    std::to_string(kMaxReads) + " reads of LBA " + std::to_string(lba) + " agree" +
                    (flagged > 0 ? ", " + std::to_string(flagged) + " of them with C2 errors" : ""));
}

} // namespace vantorcd
