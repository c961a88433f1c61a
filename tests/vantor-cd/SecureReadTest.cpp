// A drive's sector confirmed by reading it again until two reads without C2 errors agree.
#include "SecureRead.h"

#include "UserError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace vantorcd {
namespace {

// Confirms sector 100 of track 3, read first as bytes of value 1, on a drive that answers the
// reads again from a script in turn, a negative answer being its value read with C2 errors: the
// value confirmed and the reads beyond the second, or the error, and the reads made again.
std::string confirmed(const std::vector<int>& script)
{
    size_t reads = 0;
    SecureRead secure([&script, &reads](uint32_t lba, SectorBytes& sector) {
        const int answer = script.at(reads++);
        sector.fill(static_cast<uint8_t>(lba == 100 ? std::abs(answer) : 0));
        return answer >= 0;
    });
    SectorBytes sector;
    sector.fill(1);
    std::string outcome;
    try {
        const unsigned extra = secure.confirm(100, sector, 3);
        outcome = std::to_string(sector[0]) + ", " + std::to_string(extra) + " extra";
    } catch (const UserError& error) {
        outcome = error.what();
    }
    return outcome + " (" + std::to_string(reads) + " reads again)";
}

TEST(SecureRead, KeepsTheFirstDataThatTwoReadsWithoutC2ErrorsGiveOrNamesTheTrackAndTheSector)
{
    // A later read that agrees with an earlier one, and reads every second of which the drive flags
    // with C2 errors. The rips of emulated drives read the other cases: a read again that agrees
    // with the first, or does after reads with C2 errors, and a sector that no two reads agree on.
    std::vector<int> allFlagged;
    for (int value = 2; value < 2 + SecureRead::kMaxReads - 1; ++value)
        allFlagged.push_back(value % 2 == 0 ? value : -1);
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{2, 3, 2}, "2, 2 extra (3 reads again)"},
        {allFlagged,
         "track 3 cannot be read consistently: no two of 16 reads of LBA 100 agree, 7 of them with C2 errors "
         "(15 reads again)"},
    };
    for (const auto& [script, outcome] : cases)
        EXPECT_EQ(confirmed(script), outcome) << script.size() << " reads";
}

} // namespace
} // namespace vantorcd
