#include "CdaFileInfo.h"
#include "UserError.h"

#include "support/TempDirectory.h"

#include "mkdisc/CdaFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vantorcd {
namespace {

void writeBytes(const std::filesystem::path& path, const uint8_t* bytes, size_t size)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes), static_cast<long>(size));
}

std::string failureOf(const std::filesystem::path& path)
{
    try {
        readCdaFile(path);
    } catch (const UserError& error) {
        return error.what();
    }
    return "no error";
}

TEST(CdaFileInfo, ReadsTrackAndSerial)
{
    const test::TempDirectory directory;
    const std::filesystem::path written =
        mkdisc::writeCdaFile(directory.path(), {12, 0x0304A1B2, 150000, 4500});
    const CdaFileInfo info = readCdaFile(written);
    EXPECT_EQ(info.track, 12u);
    EXPECT_EQ(info.serial, 0x0304A1B2u);
}

TEST(CdaFileInfo, RejectsOtherFiles)
{
    const test::TempDirectory directory;
    const std::filesystem::path path = directory.path() / "Track01.cda";
    auto bytes = mkdisc::encodeCdaFile({1, 7, 0, 100});
    writeBytes(path, bytes.data(), 43);
    EXPECT_EQ(failureOf(path), path.string() + " is not a CD track file (.cda)");
    bytes[8] = 'X'; // form type "XDDA"
    writeBytes(path, bytes.data(), bytes.size());
    EXPECT_EQ(failureOf(path), path.string() + " is not a CD track file (.cda)");
    const std::filesystem::path missing = directory.path() / "Track02.cda";
    EXPECT_EQ(failureOf(missing), "cannot open " + missing.string() + ": No such file or directory");
}

} // namespace
} // namespace vantorcd
