// Remarks are comments: whatever words follow REM, a sheet reads as it would without them, and its
// track plays through the plug-in. Sheets the library refuses are the image tests' and the
// plug-in's unit tests' concern.
#include "ScratchDirectory.h"
#include "host/PluginHost.h"
#include "host/TestDisc.h"

#include <gtest/gtest.h>

#include <string>

namespace reliability {
namespace {

// Found by fuzzing: remarks that hold keywords, quotes or nothing after a keyword.
TEST(RemarkLine, IsIgnoredWhateverItHoldsAndTheTrackPlays)
{
    const testsupport::ScratchDirectory directory;
    const TestDisc disc{directory.path(), mkdisc::DataFileFormat::Binary, false}; // beside album.bin
    const PluginHost host;
    const std::string track = "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    for (const std::string& text :
         {track + "REM GENREc REM", track + "REM GENRE \"a\" REM\n", "REM DATE\n" + track}) {
        SCOPED_TRACE(text);
        const std::string sheet = directory.write("remarks.cue", text).string();
        EXPECT_EQ(host.readDisc(sheet)->GetTrackCount(), 1u);
        EXPECT_TRUE(isSector(host.open(PluginHost::trackPath(sheet, 1))->Read(), disc.sector(1, 0), 0));
    }
}

} // namespace
} // namespace reliability
