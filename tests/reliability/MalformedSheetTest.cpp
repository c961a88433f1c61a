// CUE sheets that the disc-access library must refuse: listing them and opening their tracks fail
// with the device error, and refusing them leaks nothing (checked where LeakSanitizer runs).
#include "ScratchDirectory.h"
#include "support/PluginHost.h"
#include "support/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define VANTOR_HAS_LEAK_CHECK 1
#endif
#endif

namespace reliability {
namespace {

struct SheetCase
{
    const char* name;
    const char* text; // beside album.bin, a three-track image's data file
};

void PrintTo(const SheetCase& value, std::ostream* out)
{
    *out << value.name;
}

class MalformedSheet : public testing::TestWithParam<SheetCase>
{
protected:
    std::string writeSheet() const { return directory.write("malformed.cue", GetParam().text).string(); }

    static void expectNoLeak()
    {
#ifdef VANTOR_HAS_LEAK_CHECK
        EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "LeakSanitizer found a leak";
#endif
    }

    testsupport::ScratchDirectory directory;
    const TestDisc disc{directory.path(), mkdisc::DataFileFormat::Binary, false};
    const PluginHost host;
};

TEST_P(MalformedSheet, ListingAndOpeningFailWithTheDeviceErrorAndLeakNothing)
{
    const std::string sheet = writeSheet();
    const std::string deviceError =
        "Cannot open cueify device " + sheet + ". Cueify error: The device could not be opened.";

    try {
        host.readDisc(sheet);
        ADD_FAILURE() << "the disc was listed";
    } catch (const Vantor::Proc::CDReaderException& e) {
        EXPECT_EQ(descriptionOf(e), deviceError);
    }
    try {
        host.open(PluginHost::trackPath(sheet, 1));
        ADD_FAILURE() << "the track opened";
    } catch (const Vantor::Proc::CDReaderException& e) {
        EXPECT_EQ(descriptionOf(e), deviceError);
    }
    expectNoLeak();
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, MalformedSheet,
    testing::Values(
        SheetCase{"LastTrackWithoutLines", "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n"},
        SheetCase{"LastTrackWithOnlyARemark", "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n  REM x\n"},
        SheetCase{"MiddleTrackWithoutIndex", "FILE \"album.bin\" BINARY\n"
                                             "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                             "  TRACK 02 AUDIO\n"
                                             "  TRACK 03 AUDIO\n    INDEX 01 00:02:00\n"},
        SheetCase{"TrackWithOnlyAPregapIndex", "FILE \"album.bin\" BINARY\n"
                                               "  TRACK 01 AUDIO\n    INDEX 00 00:00:00\n"},
        SheetCase{"UnclosedQuote", "FILE \"album.bin BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"}),
    [](const testing::TestParamInfo<SheetCase>& info) { return info.param.name; });

// Remarks are comments: whatever words follow REM, the sheet reads as it would without them.
class RemarkLine : public MalformedSheet
{
};

TEST_P(RemarkLine, IsIgnoredAndTheTrackPlays)
{
    const std::string sheet = writeSheet();

    EXPECT_EQ(host.readDisc(sheet)->GetTrackCount(), 1u);
    EXPECT_TRUE(isSector(host.open(PluginHost::trackPath(sheet, 1))->Read(), disc.sector(1, 0), 0));
    expectNoLeak();
}

// Found by fuzzing: remarks that hold keywords are remarks, and a good sheet with them opens.
INSTANTIATE_TEST_SUITE_P(
    Sheets, RemarkLine,
    testing::Values(SheetCase{"KeywordPrefixAndRem",
                              "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                              "REM GENREc REM"},
                    SheetCase{"QuotedValueAndRem",
                              "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                              "REM GENRE \"a\" REM\n"},
                    SheetCase{"KeywordWithoutValue", "REM DATE\nFILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n"
                                                     "    INDEX 01 00:00:00\n"}),
    [](const testing::TestParamInfo<SheetCase>& info) { return info.param.name; });

} // namespace
} // namespace reliability
