// The drive backend through the public API on emulated drives, against the image route: the same
// disc written as an image must give the same TOC and the same bytes in every sector.
#include "cueify_testing/CdTextTesting.h"
#include "cueify_testing/CueifyTesting.h"

#include "EmulatedDrives.h"
#include "drive_emulator/DriveCounters.h"
#include <cueify/last_error.h>

#include <mkdisc/DiscWriter.h>

#include <fstream>
#include <map>
#include <unistd.h>

namespace cueify::test {
namespace {

// Track 2 of the hidden-track disc has an INDEX 02, which the drive backend finds in the Q sub-channel.
constexpr const char* kHiddenTrack = "audio:300,pregap=40 audio:200,flags=dcp,index2=50 audio:150,flags=pre";
constexpr const char* kEnhanced = "audio:300 audio:250 / mode1:300";
constexpr const char* kDataFirst = "mode1:200,byte16=7 audio:300 mode2:100";

std::string ninetyNineTracks()
{
    std::string words;
    for (int track = 1; track <= 99; ++track)
        words += track % 10 == 0 ? "audio:13,flags=dcp " : "audio:13 ";
    return words;
}

// The CD-Text /dev/sr18 answers with: the file is written by the test that reads it.
const std::string kCdTextReplyFile =
    (fs::temp_directory_path() / ("emulated-cdtext-" + std::to_string(::getpid()) + ".bin")).string();

// Each drive's behaviour words and track words.
const std::map<std::string, std::pair<std::string, std::string>> kDrives = {
    {"/dev/sr1", {"", kHiddenTrack}},
    {"/dev/sr2", {"", kEnhanced}},
    {"/dev/sr3", {"", kDataFirst}},
    {"/dev/sr4", {"", ninetyNineTracks()}},
    {"/dev/sr6", {"", ""}},
    {"/dev/sr9", {"medium-error=500x4 medium-error=20 unstable=30", kEnhanced}},
    {"/dev/sr10", {"unstable=30 c2-error=40x2", kEnhanced}}, // a drive of its own: the fault wears off
    {"/dev/sr12", {"no-full-toc", kEnhanced}},
    {"/dev/sr13", {"no-full-toc", kHiddenTrack}},
    {"/dev/sr14", {"bcd-toc", kHiddenTrack}},
    {"/dev/sr15", {"bcd-toc", kEnhanced}},
    {"/dev/sr16", {"no-full-toc", "mode2:100"}}, // a CD-ROM XA disc
    {"/dev/sr17", {"older-toc", kEnhanced}},
    {"/dev/sr18",
     {"mcn=0123456789012 isrc=1:USRC17607839 isrc=3:GBAYE0000351 cdtext=" + kCdTextReplyFile, kHiddenTrack}},
    {"/dev/sr19", {"no-c2", kEnhanced}},
};

// The drive's disc written as an image, opened through the image backend.
struct ImageOf
{
    explicit ImageOf(const std::string& path)
        : owner(openDevice(
              mkdisc::writeDisc(testsupport::discOfTrackWords(kDrives.at(path).second), scratch.path())
                  .cueSheet))
    {
    }
    cueify_device* device() const { return owner.get(); }

    testsupport::ScratchDirectory scratch;
    DeviceOwner owner;
};

// The sector's bytes, or the error; a failed read must leave the caller's buffer as it was.
std::string sectorText(cueify_device* device, uint32_t lba)
{
    Sector sector, untouched;
    untouched.fill(0xEE);
    sector = untouched;
    const int result = cueify_device_read_raw(device, lba, sector.data());
    return result == CUEIFY_OK
               ? std::string(sector.begin(), sector.end())
               : "error " + std::to_string(result) + (sector == untouched ? "" : ", buffer written");
}

// Every sector the TOC places in a track, from LBA 0 (a hidden first track's audio included).
std::vector<uint32_t> sectorsOfTracks(cueify_full_toc* toc)
{
    const int first = cueify_full_toc_get_session_first_track(toc, cueify_full_toc_get_first_session(toc));
    const int last = cueify_full_toc_get_session_last_track(toc, cueify_full_toc_get_last_session(toc));
    std::vector<uint32_t> sectors;
    for (int track = first; track <= last; ++track) {
        const cueify_msf_t start = cueify_full_toc_get_track_address(toc, static_cast<uint8_t>(track));
        const cueify_msf_t length = cueify_full_toc_get_track_length(toc, static_cast<uint8_t>(track));
        const uint32_t lba = (start.min * 60u + start.sec) * 75u + start.frm - 150u;
        const uint32_t end = lba + (length.min * 60u + length.sec) * 75u + length.frm;
        for (uint32_t sector = track == first ? 0 : lba; sector < end; ++sector)
            sectors.push_back(sector);
    }
    return sectors;
}

// Indices from the Q sub-channel, control flags and data modes as the image's sheet gives them; a
// drive that refuses READ TOC format 5 has no CD-Text to give.
std::string discFacts(cueify_device* device, int first, int last)
{
    std::string text;
    const IndicesOwner indices(cueify_indices_new());
    for (int track = first; track <= last; ++track) {
        const auto number = static_cast<uint8_t>(track);
        text += std::to_string(track) + ": mode " +
                std::to_string(cueify_device_read_data_mode(device, number)) + ", control " +
                std::to_string(cueify_device_read_track_control_flags(device, number)) + ", indices";
        if (cueify_device_read_track_indices(device, indices.get(), number) == CUEIFY_OK) {
            for (uint8_t k = 0; k < cueify_indices_get_num_indices(indices.get()); ++k)
                text += " " + std::to_string(cueify_indices_get_index_number(indices.get(), k)) + "@" +
                        msfText(cueify_indices_get_index_offset(indices.get(), k));
        }
        text += "\n";
    }
    return text;
}

uint64_t commandsServed(const char* path)
{
    return driveemulator::readDriveCounters(path).value().commands; // none: an exception fails the test
}

// Opening a drive reads its TOC, which the first TOC asked for then gives without asking the drive
// again; a later one asks it. Both are the image's, and so are the sectors and the tracks' facts.
TEST(EmulatedDrive, TocSectorsAndTrackFactsMatchTheImage)
{
    for (const char* path : {"/dev/sr1", "/dev/sr2", "/dev/sr3", "/dev/sr4", "/dev/sr12", "/dev/sr13",
                             "/dev/sr14", "/dev/sr15", "/dev/sr16", "/dev/sr17"}) {
        SCOPED_TRACE(path);
        const ImageOf image(path);
        const DeviceOwner drive = openDevice(path);
        const uint64_t afterOpen = commandsServed(path);
        const TocOwner driveToc = readToc(drive.get()), imageToc = readToc(image.device());
        EXPECT_EQ(commandsServed(path), afterOpen);
        const TocOwner again = readToc(drive.get());
        EXPECT_GT(commandsServed(path), afterOpen);
        ASSERT_TRUE(imageToc && driveToc && again);
        EXPECT_EQ(describeToc(driveToc.get()), describeToc(imageToc.get()));
        EXPECT_EQ(describeToc(again.get()), describeToc(imageToc.get()));
        size_t differing = 0;
        for (uint32_t lba : sectorsOfTracks(imageToc.get()))
            differing += sectorText(drive.get(), lba) != sectorText(image.device(), lba);
        EXPECT_EQ(differing, 0u);
        const int first = cueify_full_toc_get_first_track(imageToc.get()),
                  last = cueify_full_toc_get_last_track(imageToc.get());
        EXPECT_EQ(discFacts(drive.get(), first, last), discFacts(image.device(), first, last));
    }
    const DeviceOwner drive = openDevice("/dev/sr1");
    const CdTextOwner cdText(cueify_cdtext_new());
    EXPECT_EQ(cueify_device_read_cdtext(drive.get(), cdText.get()), CUEIFY_ERR_INTERNAL);
    EXPECT_STREQ(cueify_get_last_error(), "the drive reports no CD-Text");
    openDevice("/dev/sr6", CUEIFY_ERR_NO_DEVICE); // an empty drive
}

// The disc's catalogue number (track 0) or a track's ISRC.
std::string codeRead(cueify_device* device, uint8_t track)
{
    char code[16] = {};
    size_t size = sizeof code;
    const int result = track == 0 ? cueify_device_read_mcn(device, code, &size)
                                  : cueify_device_read_isrc(device, track, code, &size);
    return result == CUEIFY_OK ? code : "(none)";
}

// The catalogue number and ISRCs come from READ SUB-CHANNEL, the CD-Text from READ TOC format 5:
// the drive's answers are an image's, a performer repeated from the track before included.
TEST(EmulatedDrive, CatalogueNumberIsrcsAndCdTextReadFromTheDriveAsTheImageGivesThem)
{
    const testsupport::ScratchDirectory scratch;
    scratch.write("a.bin", std::string(900 * CUEIFY_RAW_SECTOR_SIZE, '\0'));
    const DeviceOwner image = openDevice(scratch.write(
        "disc.cue",
        "CATALOG 0123456789012\nTITLE Album\nPERFORMER Band\nFILE a.bin BINARY\n"
        " TRACK 01 AUDIO\n  TITLE One\n  PERFORMER Band\n  ISRC USRC17607839\n  INDEX 01 00:00:00\n"
        " TRACK 02 AUDIO\n  TITLE Two\n  PERFORMER Band\n  INDEX 01 00:04:00\n"
        " TRACK 03 AUDIO\n  TITLE Three\n  ISRC GBAYE0000351\n  INDEX 01 00:08:00\n"));
    const CdTextOwner imageText(cueify_cdtext_new());
    ASSERT_EQ(cueify_device_read_cdtext(image.get(), imageText.get()), CUEIFY_OK);
    const std::vector<uint8_t> packs = serializedPacks(imageText.get());
    std::ofstream(kCdTextReplyFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(packs.data()), static_cast<std::streamsize>(packs.size()));

    const DeviceOwner drive = openDevice("/dev/sr18");
    for (cueify_device* device : {image.get(), drive.get()}) {
        EXPECT_EQ(codeRead(device, 0) + " " + codeRead(device, 1) + " " + codeRead(device, 2) + " " +
                      codeRead(device, 3),
                  "0123456789012 USRC17607839 (none) GBAYE0000351");
    }
    const CdTextOwner driveText(cueify_cdtext_new());
    ASSERT_EQ(cueify_device_read_cdtext(drive.get(), driveText.get()), CUEIFY_OK);
    fs::remove(kCdTextReplyFile);
    EXPECT_EQ(serializedPacks(driveText.get()), packs);
    cueify_cdtext_block* block = cueify_cdtext_get_block(driveText.get(), 0);
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(cueify_cdtext_block_get_performer(block, 2), "Band");
    EXPECT_STREQ(cueify_cdtext_block_get_title(block, 3), "Three");
}

TEST(EmulatedDrive, ReadErrorsAndUnstableSectorsReachTheCallerAsTheDriveGivesThem)
{
    const ImageOf image("/dev/sr9");
    const DeviceOwner drive = openDevice("/dev/sr9");
    const std::string failed = "error " + std::to_string(CUEIFY_ERR_INTERNAL);
    // A sector whose first four reads fail (a failed request reads it twice: in a batch, then
    // alone), one that always fails, one whose every second read differs.
    const std::pair<uint32_t, std::vector<bool>> cases[] = {
        {500, {false, false, true, true}}, {20, {false, false, false}}, {30, {true, false, true, false}}};
    for (const auto& [lba, expected] : cases) {
        const std::string good = sectorText(image.device(), lba);
        for (size_t read = 0; read < expected.size(); ++read)
            EXPECT_EQ(sectorText(drive.get(), lba) == good, expected[read])
                << "LBA " << lba << ", read " << read;
    }
    EXPECT_EQ(sectorText(drive.get(), 20), failed);
    Sector sector{};
    EXPECT_EQ(cueify_device_read_raw_uncached(drive.get(), 20, sector.data()), CUEIFY_ERR_INTERNAL);
    EXPECT_STREQ(cueify_get_last_error(), "the drive cannot read the sector at LBA 20");
    EXPECT_EQ(sectorText(drive.get(), 499), sectorText(image.device(), 499));
    // Past the last lead-out the drive is not asked: the address is a bad argument.
    const std::string badArgument = "error " + std::to_string(CUEIFY_ERR_BADARG);
    for (const uint32_t lba : {100000u, 0xFFFFFFFFu})
        EXPECT_EQ(sectorText(drive.get(), lba), badArgument) << "LBA " << lba;
}

// What an uncached read with C2 pointers gave, against the image's sector.
std::string c2Read(cueify_device* device, uint32_t lba, const std::string& good)
{
    Sector sector{};
    std::array<uint8_t, CUEIFY_C2_POINTER_SIZE> pointers{};
    if (const int result = cueify_device_read_raw_uncached_c2(device, lba, sector.data(), pointers.data()))
        return "error " + std::to_string(result) + ": " + cueify_get_last_error();
    size_t flagged = 0;
    for (const uint8_t bits : pointers)
        flagged += static_cast<size_t>(__builtin_popcount(bits));
    return (std::string(sector.begin(), sector.end()) == good ? "as imaged, " : "altered, ") +
           std::to_string(flagged) + " bytes flagged";
}

TEST(EmulatedDrive, UncachedReadsFlagWhatTheDriveCouldNotCorrectWhereItReportsC2Errors)
{
    const ImageOf image("/dev/sr10");
    const DeviceOwner c2 = openDevice("/dev/sr10"), noC2 = openDevice("/dev/sr19");
    const std::string clean = "as imaged, 0 bytes flagged", flagged = "altered, 4 bytes flagged";
    const std::string noC2Drive = "error 1: the drive does not report C2 error pointers";
    const std::string imageHasNone = "error 1: a disc image has no C2 error pointers to report";
    // An unstable sector, one whose first two reads come back alike and wrong, a sound one.
    const std::tuple<cueify_device*, uint32_t, std::vector<std::string>> cases[] = {
        {c2.get(), 30, {clean, flagged, clean}},
        {c2.get(), 40, {flagged, flagged, clean}},
        {noC2.get(), 30, {noC2Drive}},
        {image.device(), 30, {imageHasNone}}};
    for (const auto& [device, lba, reads] : cases) {
        const std::string good = sectorText(image.device(), lba);
        for (size_t read = 0; read < reads.size(); ++read)
            EXPECT_EQ(c2Read(device, lba, good), reads[read]) << "LBA " << lba << ", read " << read;
    }
}

} // namespace
} // namespace cueify::test

int main(int argc, char** argv)
{
    std::string drives;
    for (const auto& [path, words] : cueify::test::kDrives)
        drives += path + " " + words.first + " " + words.second + ";";
    testsupport::runWithEmulatedDrives(argv, drives);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
