#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Core/Interfaces/Throw.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Vantor::ioPath;
using Vantor::Core::DataInputFile;

TEST(DataInputFile, ReadsInOrderThenShortThenNothingAndRefusesAMissingFileOrADirectoryNamingThePath)
{
    testsupport::ScratchDirectory directory;
    const auto input = DataInputFile::Create(ioPath(directory.write("ten.bin", "0123456789").string()));
    std::vector<std::string> reads;
    char buffer[4];
    for (int i = 0; i < 4; ++i)
        reads.emplace_back(buffer, input->Read(buffer, sizeof buffer));
    EXPECT_EQ(reads, (std::vector<std::string>{"0123", "4567", "89", ""}));
    for (const std::string& path : {(directory.path() / "missing.cda").string(), directory.path().string()}) {
        try {
            DataInputFile::Create(ioPath(path));
            ADD_FAILURE() << "opened " << path;
        } catch (const Vantor::Exception& e) {
            EXPECT_EQ(Vantor::DescriptionOf(e), "Cannot open file " + path);
        }
    }
}
