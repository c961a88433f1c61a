#include "ParserCDFixture.h"

#include <mkdisc/CdaFile.h>

#include <sys/fsuid.h>

namespace {

using namespace cdtest;

constexpr uint32_t kSerial = 0x2f4e61a3;

std::string CdaBytes(uint16_t track, uint32_t serial)
{
    const auto bytes = mkdisc::encodeCdaFile({track, serial, 0, 750});
    return std::string(bytes.begin(), bytes.end());
}

class CDAFileOpen : public FakeDiscTest
{
protected:
    // A directory that stands for a drive, holding the first .cda file of a disc.
    std::string Drive(const std::string& name, const std::string& bytes = CdaBytes(1, kSerial),
                      const std::string& file = "Track01.cda")
    {
        return scratch.write(name + "/" + file, bytes).parent_path().string();
    }

    testsupport::ScratchDirectory scratch;
    const std::string input = scratch.write("Track05.cda", CdaBytes(5, kSerial)).string();
};

TEST_F(CDAFileOpen, InvalidFileIsRefusedBeforeAnyDriveIsSearchedAndAnUnknownDiscIsNotFound)
{
    disc.setDevices({Drive("drive")});
    const auto broken = [](size_t offset, const std::string& bytes) {
        return CdaBytes(5, kSerial).replace(offset, bytes.size(), bytes);
    };
    // Tag case, a NUL in a tag, RIFF size 38, form, chunk tag, chunk size 26, version 2, a short file.
    for (const std::string& file :
         {broken(0, "riff"), broken(3, std::string(1, '\0')), broken(4, "&"), broken(8, "CDDB"),
          broken(12, std::string("fmt\0", 4)), broken(16, "\x1a"), broken(20, "\x02"),
          CdaBytes(5, kSerial).substr(0, 18)}) {
        scratch.write("Track05.cda", file);
        ExpectFailure(input, OpenInputFailure("Invalid cda structure.", input),
                      "Invalid cda structure in file: " + input);
    }
    EXPECT_TRUE(disc.calls().empty());
    scratch.write("Track05.cda", CdaBytes(5, kSerial + 1));
    ExpectFailure(input, OpenInputFailure("Cannot find cdrom source for the track.", input));
}

TEST_F(CDAFileOpen, OpensItsTrackOnTheFirstDriveWhoseFirstCdaFileHasItsFourByteSerialAndWhoseFirstSectorReads)
{
    // Only the first file in listing order counts; the listing follows the directory, not the names.
    const std::string twoFiles = Drive("two", CdaBytes(1, kSerial), "Track02.cda");
    Drive("two");
    scratch.write("two/" + std::filesystem::directory_iterator(twoFiles)->path().filename().string(),
                  CdaBytes(1, kSerial + 1));
    const std::string unreadable = Drive("unreadable");
    const std::string closed = Drive("closed");
    // A drive's .cda file is not validated: only its serial is read.
    const std::string capitals =
        Drive("capitals", CdaBytes(9, kSerial).replace(0, 4, "riff").replace(20, 1, "\x07"), "TRACK01.CDA");
    disc.failReadAt(unreadable, 0, CUEIFY_ERR_INTERNAL);
    disc.failOpen(closed, CUEIFY_ERR_NO_DEVICE);
    disc.setDevices({std::nullopt, std::string(), (scratch.path() / "missing").string(), input,
                     Drive("nocda", CdaBytes(1, kSerial), "a.wav"),
                     Drive("high", CdaBytes(1, kSerial ^ 0xFF000000)),
                     Drive("low", CdaBytes(1, kSerial ^ 0xFF)), twoFiles, unreadable, closed, capitals});
    disc.setDisc(AudioDisc({750, 750, 750, 750, 900})); // track 5 lasts 12 s

    const SP<Vantor::Proc::IParser> parser = Open(input, tracker);

    EXPECT_EQ(disc.openedDevices(), (std::vector<std::string>{unreadable, closed, capitals, capitals}));
    EXPECT_EQ(disc.readAddresses(), (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(disc.openDevices(), 1); // the probes released their drives
    EXPECT_EQ(parser->GetDuration(), 12000000);
    EXPECT_TRUE(tracker->reports.empty());
}

// Only the opening of a candidate drive is passed over; root's override of file modes is dropped
// for the test's thread, so that the modes hold for every user. A .cda file that is missing or a
// directory cannot be opened either.
TEST_F(CDAFileOpen, ErrorsListingADriveOrReadingItsCdaFilePassUnchanged)
{
    const std::string locked = Drive("locked");
    const std::string unreadable = Drive("unreadable") + "/Track01.cda";
    const std::string directory = Drive("folder.cda");
    std::filesystem::permissions(scratch.path(), std::filesystem::perms::all);
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    std::filesystem::permissions(unreadable, std::filesystem::perms::none);
    const int fileSystemUser = setfsuid(65534);
    disc.setDevices({locked});
    ExpectFailure(input,
                  Failure("Exception", "Cannot list directory " + locked + ": Permission denied",
                          "void Vantor::(anonymous namespace)::ThrowCannotList(const Vantor::ioPath &, "
                          "const boost::system::error_code &)",
                          std::nullopt, locked));
    disc.setDevices({unreadable.substr(0, unreadable.rfind('/'))});
    const std::string cannotOpen =
        "Vantor::Core::(anonymous namespace)::FileHandle "
        "Vantor::Core::(anonymous namespace)::OpenForReading(const Vantor::ioPath &)";
    for (const std::string& file : {unreadable, directory, directory + "/missing.cda"})
        ExpectFailure(file == unreadable ? input : file,
                      Failure("Exception", "Cannot open file " + file, cannotOpen, std::nullopt, file));
    setfsuid(static_cast<uid_t>(fileSystemUser));
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

} // namespace
