#include "ParserCDFixture.h"

#include <mkdisc/CdaFile.h>

namespace {

using namespace cdtest;

constexpr uint32_t SERIAL = 0x2f4e61a3;

std::string CdaBytes(uint16_t track, uint32_t serial)
{
    const auto bytes = mkdisc::encodeCdaFile({track, serial, 0, 750});
    return std::string(bytes.begin(), bytes.end());
}

class CDAFileOpen : public FakeDiscTest
{
protected:
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
    // Tag case, a NUL in a tag, RIFF size 38, form, chunk tag, chunk size 26, version 2, a short file.
    for (const std::string& file :
         {broken(0, "riff"), broken(3, std::string(1, '\0')), broken(4, "&"), broken(8, "CDDB"),
          broken(12, std::string("fmt\0", 4)), broken(16, "\x1a"), broken(20, "\x02"),
          CdaBytes(5, SERIAL).substr(0, 18)}) {
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
    // Only the first file in listing order counts; the listing follows the directory, not the names.
    const std::string twoFiles = Drive("two", SERIAL, "Track02.cda");
    Drive("two", SERIAL);
    scratch.write("two/" + std::filesystem::directory_iterator(twoFiles)->path().filename().string(),
                  CdaBytes(1, SERIAL + 1));
    const std::string unreadable = Drive("unreadable", SERIAL);
    const std::string closed = Drive("closed", SERIAL);
    const std::string capitals = Drive("capitals", SERIAL, "TRACK01.CDA");
    disc.failReadAt(unreadable, 0, CUEIFY_ERR_INTERNAL);
    disc.failOpen(closed, CUEIFY_ERR_NO_DEVICE);
    disc.setDevices({std::nullopt, std::string(), (scratch.path() / "missing").string(), input,
                     Drive("nocda", SERIAL, "a.wav"), twoFiles, unreadable, closed, capitals});
    disc.setDisc(AudioDisc({750, 750, 750, 750, 750}));

    const SP<Vantor::Proc::IParser> parser = Open(input, tracker);

    EXPECT_EQ(OpenedDevices(), (std::vector<std::string>{unreadable, closed, capitals, capitals}));
    EXPECT_EQ(ReadAddresses(), (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(disc.openDevices(), 1); // the probes released their drives
    EXPECT_EQ(TrackTag(parser), "5");
    EXPECT_TRUE(tracker->reports.empty());
}

} // namespace
