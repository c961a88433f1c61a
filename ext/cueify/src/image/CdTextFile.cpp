#include "image/CdTextFile.h"

#include "core/CdTextPack.h"
#include "core/CdTextReader.h"
#include "core/Failure.h"
#include "image/FileDescriptor.h"

#include <cueify/error.h>

#include <vector>

namespace cueify {
namespace {

// 2048 packs fill a disc's lead-in; a few bytes more allow a header and a closing NUL.
constexpr uint64_t kLargestFileBytes = kCdTextHeaderBytes + 2048 * kPackBytes + 16;

// A CD-Text file that cannot be read leaves the image readable: the file's failure is the
// CD-Text read's, not the image open's.
std::vector<uint8_t> fileBytes(const std::filesystem::path& path, const std::string& displayName)
{
    try {
        const FileDescriptor file = FileDescriptor::openRegularFile(path, displayName);
        const uint64_t size = file.size();
        if (size > kLargestFileBytes)
            throw Failure(CUEIFY_ERR_INTERNAL, "'" + displayName + "' is too large for CD-Text (" +
                                                   std::to_string(size) + " bytes)");
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        if (!file.readExact(0, bytes.data(), bytes.size()))
            throw Failure(CUEIFY_ERR_INTERNAL, "cannot read '" + displayName + "'");
        return bytes;
    } catch (const Failure& error) {
        throw Failure(CUEIFY_ERR_INTERNAL, error.what());
    }
}

// Whole packs without anything before them are a file without the header.
std::vector<uint8_t> withHeader(std::vector<uint8_t> bytes)
{
    if (bytes.empty() || bytes.size() % kPackBytes != 0)
        return bytes;
    const size_t length = bytes.size() + kCdTextHeaderBytes - 2;
    bytes.insert(bytes.begin(), {static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), 0, 0});
    return bytes;
}

} // namespace

CdTextData readCdTextFile(const std::filesystem::path& path, const std::string& displayName)
{
    const std::vector<uint8_t> bytes = withHeader(fileBytes(path, displayName));
    try {
        return readCdTextPacks(bytes.data(), bytes.size());
    } catch (const Failure& failure) {
        throw failure.within("'" + displayName + "': ");
    }
}

} // namespace cueify
