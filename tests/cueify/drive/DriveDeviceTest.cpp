// A drive seen through libcdio's BIN/CUE driver: the same calls as on a drive, minus MMC, which
// the image driver refuses as a drive refuses a command it does not know.
#include "CueifyTesting.h"

#include "core/ApiGuard.h"
#include "core/FullTocHandle.h"
#include "drive/DriveDevice.h"
#include "drive/TrackTable.h"

#include <cueify/last_error.h>
#include <mkdisc/DiscWriter.h>

#include <limits>

namespace cueify::test {
namespace {

TEST(DriveDevice, TrackTableStandsInForTheFullTocAndOnlyWholeSectorsReachTheBuffer)
{
    testsupport::ScratchDirectory scratch;
    mkdisc::DiscSpec disc{"disc", {{{{mkdisc::TrackMode::Mode1Raw, 200}, {mkdisc::TrackMode::Audio, 300}}}}};
    disc.sessions[0].tracks[1].digitalCopyPermitted = true;
    CdioHandle cdio(cdio_open(mkdisc::writeDisc(disc, scratch.path()).cueSheet.c_str(), DRIVER_BINCUE));
    const std::optional<FullTocData> table = cdio ? readTrackTable(cdio.get()) : std::nullopt;
    ASSERT_TRUE(table.has_value());
    cueify::DriveDevice drive(std::make_shared<DriveConnection>(std::move(cdio), *table));
    const TocOwner toc(cueify_full_toc_new());
    *tocDataOf(toc.get()) = drive.readFullToc();
    EXPECT_EQ(describeToc(toc.get()), "session 1: tracks 1-2, type 0x00, lead-out 00:08:50\n"
                                      "track 1: session 1, control 0x4, at 00:02:00, length 00:02:50\n"
                                      "track 2: session 1, control 0x2, at 00:04:50, length 00:04:00\n");
    for (uint32_t lba : {200u, 499u}) {
        Sector sector{};
        EXPECT_EQ(guardedCall([&] { drive.readRawSector(Lba{lba}, sector.data()); }), CUEIFY_OK) << lba;
        EXPECT_EQ(sector, mkdisc::sectorAt(disc, lba)) << lba;
    }
    Sector untouched, sector;
    untouched.fill(0xEE);
    sector = untouched;
    // READ CD of the data track
    EXPECT_EQ(guardedCall([&] { drive.readRawSector(Lba{10}, sector.data()); }), CUEIFY_ERR_INTERNAL);
    EXPECT_STREQ(cueify_get_last_error(), "the drive cannot read the sector at LBA 10");
    for (uint32_t lba : {500u, 1500u, std::numeric_limits<uint32_t>::max()})
        EXPECT_EQ(guardedCall([&] { drive.readRawSector(Lba{lba}, sector.data()); }), CUEIFY_ERR_BADARG)
            << lba;
    EXPECT_STREQ(cueify_get_last_error(), "LBA 4294967295 lies outside the disc's tracks");
    EXPECT_EQ(sector, untouched);
    EXPECT_EQ(guardedCall([&] { drive.readRawSector(Lba{0}, nullptr); }), CUEIFY_ERR_BADARG);
}

} // namespace
} // namespace cueify::test
