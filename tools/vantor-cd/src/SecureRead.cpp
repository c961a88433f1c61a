#include "SecureRead.h"

#include "UserError.h"

#include <algorithm>
#include <vector>

namespace vantorcd {

unsigned SecureRead::confirm(uint32_t lba, SectorBytes& sector, unsigned track)
{
    std::vector<SectorBytes> reads{sector};
    for (unsigned again = 1; again < kMaxReads; ++again) {
        SectorBytes next;
        m_read(lba, next);
        if (std::find(reads.begin(), reads.end(), next) != reads.end()) {
            sector = next;
            return again - 1;
        }
        reads.push_back(next);
    }
    throw UserError("track " + std::to_string(track) + " cannot be read consistently: no two of " +
                    std::to_string(kMaxReads) + " reads of LBA " + std::to_string(lba) + " agree");
}

} // namespace vantorcd
