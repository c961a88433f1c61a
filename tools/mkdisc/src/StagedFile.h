// A file written under a temporary name and renamed to its own name once complete, so that a
// reader never finds half a disc image.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace mkdisc {

class StagedFile
{
public:
    // Throws std::runtime_error naming the file when it cannot be created.
    explicit StagedFile(std::filesystem::path path);
    // Removes the temporary file unless commit() succeeded.
    ~StagedFile();

    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Throws std::runtime_error naming the file when the bytes cannot be written.
    void write(const uint8_t* bytes, size_t size);
    template <typename Bytes> void write(const Bytes& bytes) { write(bytes.data(), bytes.size()); }

    // Closes the file and gives it its name. Throws std::runtime_error naming the file on failure.
    void commit();

    const std::filesystem::path& path() const noexcept { return m_path; }

private:
    struct CloseFile
    {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };

    [[noreturn]] void fail(const char* what) const;

    std::filesystem::path m_path;
    std::filesystem::path m_temporaryPath;
    std::unique_ptr<std::FILE, CloseFile> m_file;
};

} // namespace mkdisc
