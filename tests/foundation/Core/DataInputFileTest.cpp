#include "Vantor/Core/Interfaces/IDataInput.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// That a missing file or a directory is refused, the .cda file tests of the CD plug-in show.
TEST(DataInputFile, ReadsInOrderThenShortThenNothing)
{
    testsupport::ScratchDirectory directory;
    const auto input = Vantor::Core::DataInputFile::Create(
        Vantor::ioPath(directory.write("ten.bin", "0123456789").string()));
    std::vector<std::string> reads;
    char buffer[4];
    for (int i = 0; i < 4; ++i)
        reads.emplace_back(buffer, input->Read(buffer, sizeof buffer));
    EXPECT_EQ(reads, (std::vector<std::string>{"0123", "4567", "89", ""}));
}
