#include "Vantor/Core/Interfaces/Throw.h"
#include "Vantor/Core/Interfaces/ioPath.h"

#include <boost/exception/get_error_info.hpp>
#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using Vantor::ioPath;

namespace {

class ioPathIterator : public testing::Test
{
protected:
    void SetUp() override
    {
        m_directory =
            boost::filesystem::temp_directory_path() / boost::filesystem::unique_path("list-%%%%-%%%%");
        boost::filesystem::create_directory(m_directory);
    }
    void TearDown() override { boost::filesystem::remove_all(m_directory); }

    std::vector<std::string> ListedNames() const
    {
        std::vector<std::string> names;
        for (ioPath::iterator entry(m_directory), end; entry != end; ++entry)
            names.push_back(entry->boost_path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    boost::filesystem::path m_directory;
};

} // namespace

TEST_F(ioPathIterator, ListsEveryEntryWithItsFullPath)
{
    std::ofstream((m_directory / "Track01.cda").string()) << "a";
    std::ofstream((m_directory / "Track02.cda").string()) << "b";
    boost::filesystem::create_directory(m_directory / "sub");

    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Track01.cda", "Track02.cda", "sub"}));
    const ioPath first = *ioPath::iterator(m_directory);
    EXPECT_EQ(first.boost_path().parent_path(), m_directory);
}

TEST_F(ioPathIterator, EmptyDirectoryStartsAtTheEnd)
{
    EXPECT_TRUE(ioPath::iterator(m_directory) == ioPath::iterator());
    EXPECT_TRUE(ListedNames().empty());
}

TEST_F(ioPathIterator, UnlistableDirectoryThrowsNamingIt)
{
    const ioPath missing(m_directory / "missing");
    try {
        ioPath::iterator entry(missing);
        FAIL() << "listing did not fail";
    } catch (const Vantor::Exception& e) {
        const std::string description = Vantor::DescriptionOf(e);
        EXPECT_EQ(description.rfind("Cannot list directory " + missing.utf8string() + ": ", 0), 0u)
            << description;
        EXPECT_EQ(*boost::get_error_info<Vantor::ErrorFilename>(e), missing.utf8string());
    }
}

TEST_F(ioPathIterator, DereferencingTheEndThrows)
{
    EXPECT_THROW(*ioPath::iterator(), Vantor::Exception);
}
