#include "CdaFileInfo.h"

#include "UserError.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace vantorcd {
namespace {

constexpr size_t kCdaFileSize = 44;
using CdaBytes = std::array<uint8_t, kCdaFileSize>;

uint32_t littleEndian(const CdaBytes& bytes, size_t offset, size_t size)
{
    uint32_t value = 0;
    for (size_t i = size; i-- > 0;)
        value = value << 8 | bytes[offset + i];
    return value;
}

bool hasTag(const CdaBytes& bytes, size_t offset, const char* tag)
{
    return std::memcmp(bytes.data() + offset, tag, 4) == 0;
}

bool isCdaLayout(const CdaBytes& bytes)
{
    return hasTag(bytes, 0, "RIFF") && littleEndian(bytes, 4, 4) == 36 && hasTag(bytes, 8, "CDDA") &&
           hasTag(bytes, 12, "fmt ") && littleEndian(bytes, 16, 4) == 24 && littleEndian(bytes, 20, 2) == 1;
}

} // namespace

CdaFileInfo readCdaFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw UserError("cannot open " + path.string() + ": " + std::strerror(errno));
    CdaBytes bytes{};
    file.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    if (file.gcount() != static_cast<std::streamsize>(bytes.size()) || !isCdaLayout(bytes))
        throw UserError(path.string() + " is not a CD track file (.cda)");
    return {littleEndian(bytes, 22, 2), littleEndian(bytes, 24, 4)};
}

} // namespace vantorcd
