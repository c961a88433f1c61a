// The plug-in, through the host's registry, on a disc whose drive goes away.
#include "ScratchDirectory.h"
#include "host/TestDisc.h"

#include "Vantor/Core/Interfaces/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace reliability {
namespace {

namespace fs = std::filesystem;

// A virtual drive that the host has listed goes away, image and all: its .cda files and track paths
// fail to open with the parser's own exceptions (what they say is tested with the plug-in), and a parser
// opened before holds its data file open and plays the whole track from it.
TEST(VanishingDrive, ItsTracksFailToOpenAndAnOpenTrackPlaysOn)
{
    const testsupport::ScratchDirectory directory;
    ::setenv("CUEIFY_VIRTUAL_DRIVES", (directory.path() / "drive").c_str(), 1);
    const TestDisc disc{directory.path() / "drive", mkdisc::DataFileFormat::Binary, false};
    const PluginHost host;
    const std::string trackPath = host.readDisc(disc.written.cueSheet)->GetTrackPath(2).utf8string();
    const fs::path keptCda = directory.path() / "kept.cda";
    fs::copy_file(disc.written.cdaFiles.at(0), keptCda);
    ASSERT_TRUE(host.open(keptCda.string()));
    const Vantor::SP<Vantor::Proc::IParser> playing = host.open(trackPath);
    EXPECT_TRUE(disc.delivers(playing->Read(), 2, 0));

    fs::remove_all(disc.written.cueSheet.parent_path());

    EXPECT_THROW(host.open(keptCda.string()), Vantor::Proc::ParserException);
    EXPECT_THROW(host.open(trackPath), Vantor::Proc::CDReaderException);
    EXPECT_TRUE(disc.playsOn(*playing, 2, 1));
    ::unsetenv("CUEIFY_VIRTUAL_DRIVES");
}

} // namespace
} // namespace reliability
