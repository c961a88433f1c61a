// A fresh directory under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace testsupport {

class ScratchDirectory
{
public:
    ScratchDirectory() { std::filesystem::create_directories(m_path); }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Writes a file of that name and content inside the directory and returns its path.
    std::filesystem::path write(const std::string& name, const std::string& content) const
    {
        std::filesystem::path file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    std::filesystem::path m_path =
        std::filesystem::temp_directory_path() / ("vantor-test-" + std::to_string(std::random_device()()));
};

} // namespace testsupport
