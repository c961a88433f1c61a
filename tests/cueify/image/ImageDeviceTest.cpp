// Images written by the disc-image writer answer as a drive holding that disc would, and read
// back what the writer wrote; the data file readers' own formats are read in DataFileTest.
#include "TrackWords.h"
#include "cueify_testing/CueifyTesting.h"

#include <mkdisc/DiscWriter.h>

#include <fstream>
#include <optional>
#include <stdexcept>

namespace cueify::test {
namespace {

using mkdisc::DataFileFormat;

// Opened by their directories, written a file per track: copy permitted, pre-emphasis after a
// stored pregap and four channels after a generated one, in WAVE files; an enhanced CD whose data
// session starts 11,400 sectors after the audio session's lead-out, its data sectors read whole
// with the byte 16 the writer sets.
TEST(ImageDevice, WrittenImagesAnswerTheirDiscsTocAndReadEverySectorAsWrittenButNoneOutsideSessionsOrFiles)
{
    const struct
    {
        const char* trackWords;
        DataFileFormat format;
        const char* toc;
    } cases[] = {{"audio:300,flags=dcp audio:200,pregap=150,flags=pre audio:150,silence=75,flags=4ch",
                  DataFileFormat::Wave,
                  "session 1: tracks 1-3, type 0x00, lead-out 00:13:50\n"
                  "track 1: session 1, control 0x2, at 00:02:00, length 00:06:00\n"
                  "track 2: session 1, control 0x1, at 00:08:00, length 00:03:50\n"
                  "track 3: session 1, control 0x8, at 00:11:50, length 00:02:00\n"},
                 {"audio:300 audio:250,pregap=30 / mode2:200,pregap=150,byte16=90", DataFileFormat::Binary,
                  "session 1: tracks 1-2, type 0x00, lead-out 00:09:55\n"
                  "session 2: tracks 3-3, type 0x20, lead-out 02:46:30\n"
                  "track 1: session 1, control 0x0, at 00:02:00, length 00:04:30\n"
                  "track 2: session 1, control 0x0, at 00:06:30, length 00:03:25\n"
                  "track 3: session 2, control 0x4, at 02:43:55, length 00:02:50\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trackWords);
        testsupport::ScratchDirectory scratch;
        mkdisc::DiscDescription disc = testsupport::discOfTrackWords(c.trackWords);
        disc.format = c.format;
        disc.filePerTrack = true;
        const mkdisc::WrittenDisc written = mkdisc::writeDisc(disc, scratch.path());
        // A partial sector at the end of a file is not on the disc, also where a WAVE data chunk
        // claims more than the file holds.
        for (const fs::path& file : written.dataFiles) {
            fs::resize_file(file, fs::file_size(file) + CUEIFY_RAW_SECTOR_SIZE - 1);
            if (c.format == DataFileFormat::Wave)
                std::fstream(file, std::ios::in | std::ios::out | std::ios::binary).seekp(40)
                    << "\xFF\xFF\xFF\xFF";
        }
        const DeviceOwner device = openDevice(scratch.path());
        EXPECT_EQ(describeToc(readToc(device.get()).get()), c.toc);
        const uint32_t end = mkdisc::layoutOf(disc).sessionLeadOutLba.back();
        Sector sector{};
        for (uint32_t lba = 0; lba <= end; ++lba) {
            std::optional<mkdisc::Sector> stored;
            try {
                stored = mkdisc::sectorAt(disc, lba);
            } catch (const std::out_of_range&) {
            }
            const int expected = lba == end ? CUEIFY_ERR_BADARG : stored ? CUEIFY_OK : CUEIFY_ERR_INTERNAL;
            ASSERT_EQ(cueify_device_read_raw(device.get(), lba, sector.data()), expected) << lba;
            ASSERT_TRUE(!stored || sector == *stored) << "sector " << lba;
        }
        // A file that shrinks after the open fails the reads past its new end instead of giving
        // short or stale sectors. Sectors 8 and 9 read in order: what follows them is read ahead
        // before the file shrinks.
        EXPECT_EQ(cueify_device_read_raw(device.get(), 8, sector.data()), CUEIFY_OK);
        EXPECT_EQ(cueify_device_read_raw(device.get(), 9, sector.data()), CUEIFY_OK);
        const uint64_t header = c.format == DataFileFormat::Wave ? 44 : 0;
        fs::resize_file(written.dataFiles.at(0), header + 10 * CUEIFY_RAW_SECTOR_SIZE + 100);
        EXPECT_EQ(cueify_device_read_raw(device.get(), 10, sector.data()), CUEIFY_ERR_INTERNAL);
        EXPECT_EQ(cueify_device_read_raw(device.get(), 299, sector.data()), CUEIFY_ERR_INTERNAL);
    }
}

} // namespace
} // namespace cueify::test
