// .cda track files as the parser's open reads them: validation, and the search for the drive
// whose first .cda file carries the same serial number.
#include "ParserCDFixture.h"
#include "ScratchDirectory.h"

#include <mkdisc/CdaFile.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace cdtest;
namespace fs = std::filesystem;

constexpr uint32_t SERIAL = 0x2f4e61a3;

std::string CdaBytes(uint16_t track, uint32_t serial)
{
    const auto bytes = mkdisc::encodeCdaFile({track, serial, 0, 750});
    return std::string(bytes.begin(), bytes.end());
}

class CDAFileOpen : public cdtest::FakeDiscTest
{
protected:
    void SetUp() override
    {
        FakeDiscTest::SetUp();
        disc.setDisc(AudioDisc(0, {750, 750, 750, 750, 750}));
    }

    // A directory that stands for a drive, holding the first .cda file of a disc.
    std::string Drive(const std::string& name, uint32_t serial, const std::string& file = "Track01.cda")
    {
        return scratch.write(name + "/" + file, CdaBytes(1, serial)).parent_path().string();
    }

    testsupport::ScratchDirectory scratch;
    const std::string input = scratch.write("Track05.cda", CdaBytes(5, SERIAL)).string();
};

TEST_F(CDAFileOpen, InvalidFileIsRefusedBeforeAnyDriveIsSearchedAndAnUnknownDiscIsNotFound)
{
    disc.setDevices({Drive("drive", SERIAL)});
    const auto broken = [](size_t offset, const std::string& bytes) {
        return CdaBytes(5, SERIAL).replace(offset, bytes.size(), bytes);
    };
    // A lower-case tag, a NUL in a tag, RIFF size 38, another form, "fmt" without its space, chunk
    // size 26, version 2, and a file that ends inside the chunk size.
    const std::string files[] = {broken(0, "riff"),  broken(3, std::string(1, '\0')),     broken(4, "&"),
                                 broken(8, "CDDB"),  broken(12, std::string("fmt\0", 4)), broken(16, "\x1a"),
                                 broken(20, "\x02"), CdaBytes(5, SERIAL).substr(0, 18)};
    for (const std::string& file : files) {
        scratch.write("Track05.cda", file);
        ExpectFailure(input, OpenInputFailure("Invalid cda structure.", input),
                      "Invalid cda structure in file: " + input);
    }
    EXPECT_TRUE(disc.calls().empty());
    scratch.write("Track05.cda", CdaBytes(5, SERIAL + 1));
    ExpectFailure(input, OpenInputFailure("Cannot find cdrom source for the track.", input));
}

TEST_F(CDAFileOpen, OpensItsTrackOnTheFirstDriveWhoseFirstCdaFileHasItsSerialAndWhoseFirstSectorReads)
{
    // The listing order follows the directory, not the names: the first entry listed gets another disc's
    // file.
    const std::string twoFiles = Drive("two", SERIAL, "Track02.cda");
    Drive("two", SERIAL);
    scratch.write("two/" + fs::directory_iterator(twoFiles)->path().filename().string(),
                  CdaBytes(1, SERIAL + 1));
    scratch.write("nocda/Track01.wav", CdaBytes(1, SERIAL));
    const std::string unreadable = Drive("unreadable", SERIAL);
    const std::string closed = Drive("closed", SERIAL);
    const std::string capitals = Drive("capitals", SERIAL, "TRACK01.CDA");
    disc.failReadAt(unreadable, 0, CUEIFY_ERR_INTERNAL);
    disc.failOpen(closed, CUEIFY_ERR_NO_DEVICE);
    disc.setDevices({std::nullopt, std::string(), (scratch.path() / "missing").string(), input,
                     (scratch.path() / "nocda").string(), twoFiles, unreadable, closed, capitals});

    const SP<Vantor::Proc::IParser> parser = Open(input, tracker);

    EXPECT_EQ(OpenedDevices(), (std::vector<std::string>{unreadable, closed, capitals, capitals}));
    EXPECT_EQ(ReadAddresses(), (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(disc.openDevices(), 1); // the probes released their drives
    EXPECT_EQ(TrackTag(parser), "5");
    EXPECT_EQ(parser->GetDuration(), 10000000);
    EXPECT_TRUE(tracker->reports.empty());
}

} // namespace
