#include "StagedFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

namespace mkdisc {

StagedFile::StagedFile(std::filesystem::path path)
    : m_path(std::move(path)), m_temporaryPath(m_path.string() + ".tmp"),
      m_file(std::fopen(m_temporaryPath.c_str(), "wb"))
{
    if (!m_file)
        fail("cannot create");
}

StagedFile::~StagedFile()
{
    if (m_file) {
        m_file.reset();
        std::error_code ignored;
        std::filesystem::remove(m_temporaryPath, ignored);
    }
}

void StagedFile::write(const uint8_t* bytes, size_t size)
{
    if (std::fwrite(bytes, 1, size, m_file.get()) != size)
        fail("cannot write");
}

void StagedFile::commit()
{
    const int closeResult = std::fclose(m_file.release());
    if (closeResult != 0) {
        const int closeError = errno;
        std::error_code ignored;
        std::filesystem::remove(m_temporaryPath, ignored);
        errno = closeError;
        fail("cannot write");
    }
    std::error_code error;
    std::filesystem::rename(m_temporaryPath, m_path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(m_temporaryPath, ignored);
        throw std::runtime_error("cannot rename " + m_temporaryPath.string() + " to " + m_path.string() +
                                 ": " + error.message());
    }
}

void StagedFile::fail(const char* what) const
{
    throw std::runtime_error(std::string(what) + " " + m_path.string() + ": " + std::strerror(errno));
}

} // namespace mkdisc
