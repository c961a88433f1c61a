// A disc image whose data file is FLAC or WavPack, made with ffmpeg from the BIN of the same disc,
// reads sector for sector as the BIN does, in order and out of it, under its own FILE type or WAVE.
#include "FfmpegCommand.h"
#include "TrackWords.h"
#include "cueify_testing/CueifyTesting.h"

#include <mkdisc/DiscWriter.h>

#include <fstream>
#include <sstream>

namespace cueify::test {
namespace {

std::string textOf(const fs::path& file)
{
    std::ostringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
}

// The same sheet with its FILE line naming another file and type.
fs::path sheetFor(const fs::path& binSheet, const std::string& dataFile, const std::string& type)
{
    std::string sheet = textOf(binSheet);
    const std::string binLine = "FILE \"disc.bin\" BINARY";
    sheet.replace(sheet.find(binLine), binLine.size(), "FILE \"" + dataFile + "\" " + type);
    fs::path path = binSheet.parent_path() / (dataFile + ".cue");
    std::ofstream(path) << sheet;
    return path;
}

Sector sectorAt(cueify_device* device, uint32_t lba)
{
    Sector sector{};
    EXPECT_EQ(cueify_device_read_raw(device, lba, sector.data()), CUEIFY_OK) << "LBA " << lba;
    return sector;
}

TEST(LosslessImage, FlacAndWavPackImagesReadEverySectorAsTheBinDoes)
{
    testsupport::ScratchDirectory scratch;
    const mkdisc::DiscDescription disc =
        testsupport::discOfTrackWords("audio:300 audio:200,pregap=150 audio:151");
    const mkdisc::WrittenDisc written = mkdisc::writeDisc(disc, scratch.path());
    const DeviceOwner bin = openDevice(written.cueSheet);
    const std::string binToc = describeToc(readToc(bin.get()).get());
    const uint32_t sectors = 300 + 150 + 200 + 151;
    const struct
    {
        const char* file;
        const char* type;
    } files[] = {{"disc.flac", "FLAC"}, {"disc.wv", "WAVE"}};
    for (const auto& [file, type] : files) {
        SCOPED_TRACE(file);
        encodeFile(written.dataFiles.at(0), scratch.path() / file, "");
        const DeviceOwner image = openDevice(sheetFor(written.cueSheet, file, type));
        EXPECT_EQ(describeToc(readToc(image.get()).get()), binToc);
        for (uint32_t lba = 0; lba < sectors; ++lba)
            ASSERT_EQ(sectorAt(image.get(), lba), sectorAt(bin.get(), lba)) << "LBA " << lba;
        for (const uint32_t lba : {700u, 3u, 450u, 449u, 800u, 0u})
            EXPECT_EQ(sectorAt(image.get(), lba), sectorAt(bin.get(), lba)) << "LBA " << lba;
    }
}

} // namespace
} // namespace cueify::test
