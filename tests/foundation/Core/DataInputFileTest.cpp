#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Core/Interfaces/Throw.h"

#include <boost/exception/get_error_info.hpp>
#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>

using Vantor::ioPath;
using Vantor::Core::DataInputFile;

namespace {

class DataInputFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_directory =
            boost::filesystem::temp_directory_path() / boost::filesystem::unique_path("input-%%%%-%%%%");
        boost::filesystem::create_directory(m_directory);
        std::ofstream((m_directory / "ten.bin").string(), std::ios::binary) << "0123456789";
    }
    void TearDown() override { boost::filesystem::remove_all(m_directory); }

    std::string DescriptionOfOpening(const ioPath& path)
    {
        try {
            DataInputFile::Create(path);
        } catch (const Vantor::Exception& e) {
            return Vantor::DescriptionOf(e);
        }
        return "opened";
    }

    boost::filesystem::path m_directory;
};

} // namespace

TEST_F(DataInputFileTest, ReadsInOrderThenShortThenNothing)
{
    const Vantor::SP<Vantor::Core::IDataInput> input = DataInputFile::Create(ioPath(m_directory / "ten.bin"));
    std::array<char, 4> buffer{};

    EXPECT_EQ(input->Read(buffer.data(), 4), 4u);
    EXPECT_EQ(std::string(buffer.data(), 4), "0123");
    EXPECT_EQ(input->Read(buffer.data(), 4), 4u);
    EXPECT_EQ(input->Read(buffer.data(), 4), 2u);
    EXPECT_EQ(std::string(buffer.data(), 2), "89");
    EXPECT_EQ(input->Read(buffer.data(), 4), 0u);
    EXPECT_EQ(input->GetPath().utf8string(), (m_directory / "ten.bin").string());
}

TEST_F(DataInputFileTest, MissingFileThrowsNamingThePath)
{
    const ioPath missing(m_directory / "missing.cda");
    EXPECT_EQ(DescriptionOfOpening(missing), "Cannot open file " + missing.utf8string());
}

TEST_F(DataInputFileTest, DirectoryIsNotAFile)
{
    EXPECT_EQ(DescriptionOfOpening(ioPath(m_directory)), "Cannot open file " + m_directory.string());
}
