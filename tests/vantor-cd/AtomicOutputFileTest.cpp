#include "AtomicOutputFile.h"
#include "UserError.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vantorcd {
namespace {

using test::fileNamesIn;
using test::readText;
using test::TempDirectory;
using test::writeText;

TEST(AtomicOutputFile, CommitPutsTheFileInPlaceWithTheUsualMode)
{
    const TempDirectory directory;
    const std::filesystem::path target = directory.path() / "out.wav";
    writeText(target, "old");
    const mode_t mask = ::umask(022);
    {
        AtomicOutputFile file(target);
        EXPECT_EQ(file.temporaryPath().parent_path(), directory.path());
        writeText(file.temporaryPath(), "new");
        EXPECT_EQ(readText(target), "old");
        file.commit();
    }
    ::umask(mask);
    EXPECT_EQ(readText(target), "new");
    EXPECT_EQ(fileNamesIn(directory.path()), std::vector<std::string>{"out.wav"});
    struct stat status = {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST(AtomicOutputFile, UncommittedFileLeavesNothingAndTheOldFileWhole)
{
    const TempDirectory directory;
    const std::filesystem::path target = directory.path() / "out.wav";
    writeText(target, "old");
    {
        AtomicOutputFile file(target);
        writeText(file.temporaryPath(), "half");
    }
    EXPECT_EQ(readText(target), "old");
    EXPECT_EQ(fileNamesIn(directory.path()), std::vector<std::string>{"out.wav"});
}

TEST(AtomicOutputFile, UnwritableTargetIsNamed)
{
    const TempDirectory directory;
    const std::filesystem::path missing = directory.path() / "missing" / "out.wav";
    const auto messageOf = [](const std::filesystem::path& target) {
        try {
            AtomicOutputFile file(target);
        } catch (const UserError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf(missing), "cannot write " + missing.string() + ": No such file or directory");
    EXPECT_EQ(messageOf(directory.path()), "cannot write " + directory.path().string() + ": Is a directory");
}

} // namespace
} // namespace vantorcd
