#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Core/Interfaces/Throw.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace Vantor {
namespace Core {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

bool IsDirectory(std::FILE* file) noexcept
{
    struct stat status = {};
    return ::fstat(::fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
}

// A directory opens for reading on POSIX but yields no bytes, so it counts as unopenable.
FileHandle OpenForReading(const ioPath& path)
{
    FileHandle file(std::fopen(path.utf8string().c_str(), "rb"));
    if (!file || IsDirectory(file.get()))
        VANTOR_THROW(Vantor::Exception, << ErrorDescription("Cannot open file " + path.utf8string())
                                        << ErrorFilename(path.utf8string()));
    return file;
}

class OpenedFile final : public RefCounted<DataInputFile>
{
public:
    OpenedFile(const ioPath& path, FileHandle file) : m_path(path), m_file(std::move(file)) {}

    ioPath GetPath() const override { return m_path; }

    // A read error ends the data like the end of the file does: the caller sees a short read.
    size_t Read(void* buffer, size_t size) override { return std::fread(buffer, 1, size, m_file.get()); }

private:
    ioPath m_path;
    FileHandle m_file;
};

} // namespace

SP<IDataInput> DataInputFile::Create(const ioPath& path)
{
    return SP<IDataInput>(new OpenedFile(path, OpenForReading(path)));
}

} // namespace Core
} // namespace Vantor
