// What an image's sheet says of its disc beyond the TOC, as the C API reads it from the device:
// the catalogue number, ISRCs, indices, data modes, control flags, the plain TOC and the
// multisession record.
#include "cueify_testing/CueifyTesting.h"

#include <cueify/cueify.h>
#include <cueify/last_error.h>

#include <vector>

namespace cueify::test {
namespace {

using namespace std::string_literals;

// Track 1 has audio before it; track 2 indices 01 to 03 and a pregap in the file; track 3 a
// generated pregap and no ISRC; tracks 4 to 6 are data in a second session, track 4 after a
// generated pregap, their sectors' mode bytes 1, 2 and 3 whatever the sheet calls them.
const char* const kSheet =
    "CATALOG 0123456789012\n"
    "REM SESSION 01\n"
    "FILE a.bin BINARY\n"
    " TRACK 01 AUDIO\n  FLAGS DCP\n  ISRC USRC17607839\n  INDEX 00 00:00:00\n  INDEX 01 00:01:00\n"
    " TRACK 02 AUDIO\n  ISRC GBAYE0000351\n  INDEX 00 00:04:00\n  INDEX 01 00:05:00\n"
    "  INDEX 02 00:06:00\n  INDEX 03 00:07:00\n"
    " TRACK 03 AUDIO\n  PREGAP 00:02:00\n  INDEX 01 00:09:00\n"
    "REM SESSION 02\n"
    "FILE b.bin BINARY\n TRACK 04 MODE1/2352\n  PREGAP 00:01:00\n  INDEX 01 00:00:00\n"
    " TRACK 05 MODE1/2352\n  INDEX 01 00:00:50\n TRACK 06 MODE1/2352\n  INDEX 01 00:01:25\n";

class DiscFacts : public testing::Test
{
protected:
    void SetUp() override
    {
        scratch.write("a.bin", std::string(900 * CUEIFY_RAW_SECTOR_SIZE, '\0'));
        std::string data(150 * CUEIFY_RAW_SECTOR_SIZE, '\0');
        for (const uint8_t track : {4, 5, 6}) // the mode byte of each data track's first sector
            data[(track - 4) * 50 * CUEIFY_RAW_SECTOR_SIZE + 15] = static_cast<char>(track - 3);
        scratch.write("b.bin", data);
        device = openDevice(scratch.write("disc.cue", kSheet));
    }

    testsupport::ScratchDirectory scratch;
    DeviceOwner device;
};

// Indices run from INDEX 01 and end with the next track's pregap in the same session.
TEST_F(DiscFacts, DataModesControlFlagsAndIndicesOfEveryTrack)
{
    std::string text;
    for (uint8_t track = 0; track <= 7; ++track) {
        const IndicesOwner indices(cueify_indices_new());
        const int read = cueify_device_read_track_indices(device.get(), indices.get(), track);
        text += std::to_string(track) + ": mode " +
                std::to_string(cueify_device_read_data_mode(device.get(), track)) + ", control " +
                std::to_string(cueify_device_read_track_control_flags(device.get(), track)) + ", indices " +
                std::to_string(read);
        for (uint8_t k = 0; k < cueify_indices_get_num_indices(indices.get()); ++k)
            text += " " + std::to_string(cueify_indices_get_index_number(indices.get(), k)) + "@" +
                    msfText(cueify_indices_get_index_offset(indices.get(), k));
        text += "\n";
    }
    // A data track's mode is the mode byte of its first sector: 1 and 2 are modes 1 and 2, 3 is a
    // mode of no known kind. Outside the disc every answer is an error.
    const std::string outside = "mode " + std::to_string(CUEIFY_DATA_MODE_ERROR) + ", control 15, indices " +
                                std::to_string(CUEIFY_ERR_INTERNAL) + "\n";
    EXPECT_EQ(text, "0: " + outside + "1: mode 0, control 2, indices 0 1@00:03:00 0@00:06:00\n" +
                        "2: mode 0, control 0, indices 0 1@00:07:00 2@00:08:00 3@00:09:00 0@00:11:00\n" +
                        "3: mode 0, control 0, indices 0 1@00:13:00\n" +
                        "4: mode 1, control 4, indices 0 1@02:49:00\n" +
                        "5: mode 2, control 4, indices 0 1@02:49:50\n" +
                        "6: mode 15, control 4, indices 0 1@02:50:25\n" + "7: " + outside);
}

TEST_F(DiscFacts, CatalogueNumberAndIsrcsAreCopiedAsTheCallerSizeAllows)
{
    // What a read into size bytes of 'x' copies, the size it reports and its result: the catalogue
    // number's for track 0, else the track's ISRC's.
    const auto copied = [this](uint8_t track, size_t size) {
        std::vector<char> buffer(size + 1, 'x');
        const int result = track == 0 ? cueify_device_read_mcn(device.get(), buffer.data(), &size)
                                      : cueify_device_read_isrc(device.get(), track, buffer.data(), &size);
        return std::string(buffer.data(), size) + "|" + std::to_string(size) + "|" + std::to_string(result);
    };
    EXPECT_EQ(copied(0, 14), "0123456789012\0|14|0"s);
    EXPECT_EQ(copied(0, 5), "0123\0|5|0"s);
    size_t needed = 0;
    EXPECT_EQ(cueify_device_read_mcn(device.get(), nullptr, &needed), CUEIFY_OK);
    EXPECT_EQ(needed, 14u);
    EXPECT_EQ(copied(3, 13), "\0|1|"s + std::to_string(CUEIFY_NO_DATA));
    EXPECT_EQ(copied(3, 0), "|0|" + std::to_string(CUEIFY_NO_DATA));
    EXPECT_EQ(std::string(cueify_get_last_error()), "track 3 has no ISRC");
    EXPECT_EQ(copied(9, 13), std::string(13, 'x') + "|13|" + std::to_string(CUEIFY_ERR_INTERNAL));
}

TEST_F(DiscFacts, PlainTocAndSessionsAnswerAsADriveAndSerializeAsItsReplies)
{
    const PlainTocOwner toc(cueify_toc_new());
    ASSERT_EQ(cueify_device_read_toc(device.get(), toc.get()), CUEIFY_OK);
    // First and last track, track 2's address, track 3's length up to the data track (the plain
    // TOC has no sessions), track 6's up to the lead-out and the disc's length.
    EXPECT_EQ((std::vector<uint32_t>{
                  cueify_toc_get_first_track(toc.get()), cueify_toc_get_last_track(toc.get()),
                  cueify_toc_get_track_address(toc.get(), 2), cueify_toc_get_track_length(toc.get(), 3),
                  cueify_toc_get_track_length(toc.get(), 6), cueify_toc_get_disc_length(toc.get())}),
              (std::vector<uint32_t>{1, 6, 375, 12525 - 825, 50, 12675}));
    size_t size = 0;
    EXPECT_EQ(cueify_toc_serialize(toc.get(), nullptr, &size), CUEIFY_OK);
    EXPECT_EQ(size, 4u + 7 * 8);
    std::vector<uint8_t> bytes(size);
    size_t tooSmall = size - 1;
    EXPECT_EQ(cueify_toc_serialize(toc.get(), bytes.data(), &tooSmall), CUEIFY_ERR_TOOSMALL);
    EXPECT_EQ(tooSmall, size);
    ASSERT_EQ(cueify_toc_serialize(toc.get(), bytes.data(), &size), CUEIFY_OK);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12),
              (std::vector<uint8_t>{0, 58, 1, 6, 0, 0x12, 1, 0, 0, 0, 0, 75}));
    const PlainTocOwner copy(cueify_toc_new());
    EXPECT_EQ(cueify_toc_deserialize(copy.get(), bytes.data(), bytes.size() - 1), CUEIFY_ERR_TRUNCATED);
    bytes[1] -= 1;
    EXPECT_EQ(cueify_toc_deserialize(copy.get(), bytes.data(), bytes.size()), CUEIFY_ERR_CORRUPTED);

    const SessionsOwner sessions(cueify_sessions_new());
    ASSERT_EQ(cueify_device_read_sessions(device.get(), sessions.get()), CUEIFY_OK);
    uint8_t record[12];
    size = sizeof record - 1;
    EXPECT_EQ(cueify_sessions_serialize(sessions.get(), record, &size), CUEIFY_ERR_TOOSMALL);
    EXPECT_STREQ(cueify_get_last_error(), "a buffer of 11 bytes for 12 bytes of data");
    ASSERT_EQ(cueify_sessions_serialize(sessions.get(), record, &size), CUEIFY_OK);
    EXPECT_EQ(std::vector<uint8_t>(record, record + 12),
              (std::vector<uint8_t>{0, 10, 1, 2, 0, 0x14, 4, 0, 0, 0, 0x30, 0xED}));
}

} // namespace
} // namespace cueify::test
