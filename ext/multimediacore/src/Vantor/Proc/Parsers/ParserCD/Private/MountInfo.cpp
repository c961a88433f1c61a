#include "Vantor/Proc/Parsers/ParserCD/Private/MountInfo.h"

#include <sstream>

namespace Vantor {
namespace Proc {

namespace {

struct MountEntry
{
    std::string deviceNumber; // "major:minor"
    std::string source;       // as written, escapes not yet decoded
};

bool IsOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The kernel writes a space, tab, newline or backslash inside a field as a backslash and three
// octal digits.
std::string DecodeOctalEscapes(const std::string& field)
{
    std::string decoded;
    for (std::string::size_type i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && field.size() - i >= 4 && IsOctalDigit(field[i + 1]) &&
                            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3]);
        if (!escape) {
            decoded += field[i];
            continue;
        }
        decoded +=
            static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
        i += 3;
    }
    return decoded;
}

// Fields: mount id, parent id, major:minor, root, mount point, options, optional fields ended by
// "-", file-system type, mount source, super options.
std::optional<MountEntry> ParseEntry(const std::string& line)
{
    std::istringstream fields(line);
    std::string mountId, parentId, deviceNumber;
    if (!(fields >> mountId >> parentId >> deviceNumber))
        return std::nullopt;
    std::string field;
    while (fields >> field && field != "-") {
    }
    std::string fileSystemType, source;
    if (!(fields >> fileSystemType >> source))
        return std::nullopt;
    return MountEntry{deviceNumber, source};
}

} // namespace

std::optional<std::string> FindMountSource(std::istream& mountInfo, unsigned major, unsigned minor)
{
    const std::string wanted = std::to_string(major) + ":" + std::to_string(minor);
    std::string line;
    while (std::getline(mountInfo, line)) {
        const std::optional<MountEntry> entry = ParseEntry(line);
        if (entry && entry->deviceNumber == wanted)
            return DecodeOctalEscapes(entry->source);
    }
    return std::nullopt;
}

} // namespace Proc
} // namespace Vantor
