// The folder a benchmark writes its disc into: one the caller names, kept afterwards so that a
// later run can reuse what is there, or a temporary one removed at the end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

class WorkDirectory
{
public:
    // given: the caller's folder, or null for a new temporary folder named after prefix.
    WorkDirectory(const char* given, const std::string& prefix)
    {
        if (given) {
            m_path = given;
            return;
        }
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
        m_owned = true;
    }
    ~WorkDirectory()
    {
        std::error_code ignored;
        if (m_owned)
            std::filesystem::remove_all(m_path, ignored);
    }
    WorkDirectory(const WorkDirectory&) = delete;
    WorkDirectory& operator=(const WorkDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
    bool m_owned = false;
};
