#include "image/ImageLoader.h"

#include "core/Failure.h"
#include "image/CueSheetReader.h"
#include "image/DataFilePath.h"
#include "image/SheetText.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace cueify {
namespace {

namespace fs = std::filesystem;

// A CUE sheet is a few kilobytes; anything far larger is not one.
constexpr uintmax_t kLargestSheetBytes = 1 << 20;

std::string readSheetBytes(const fs::path& cueSheet, const std::string& sheetName)
{
    std::error_code error;
    const uintmax_t size = fs::file_size(cueSheet, error);
    if (error)
        throw Failure(CUEIFY_ERR_NO_DEVICE, sheetName + ": cannot read the sheet: " + error.message());
    if (size > kLargestSheetBytes)
        throw Failure(CUEIFY_ERR_NO_DEVICE,
                      sheetName + ": too large for a CUE sheet (" + std::to_string(size) + " bytes)");
    std::string bytes(static_cast<size_t>(size), '\0');
    std::ifstream stream(cueSheet, std::ios::binary);
    if (!stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw Failure(CUEIFY_ERR_NO_DEVICE, sheetName + ": cannot read the sheet");
    return bytes;
}

CueSheet readSheet(const fs::path& cueSheet, const std::string& sheetName)
{
    const std::string bytes = readSheetBytes(cueSheet, sheetName);
    std::string text;
    try {
        text = sheetTextAsUtf8(bytes);
    } catch (const Failure& error) {
        throw error.within(sheetName + ": ");
    }
    return readCueSheet(text, sheetName);
}

std::vector<OpenedDataFile> openDataFiles(const fs::path& cueSheet, const CueSheet& sheet,
                                          const std::string& sheetName)
{
    std::vector<OpenedDataFile> opened;
    for (const CueFile& file : sheet.files) {
        try {
            opened.push_back({file.name, openDataFile(dataFilePath(cueSheet.parent_path(), file.name),
                                                      file.type, file.name)});
        } catch (const Failure& error) {
            throw error.within(sheetName + ":" + std::to_string(file.line) + ": ");
        }
    }
    return opened;
}

} // namespace

std::unique_ptr<ImageDevice> loadImage(const fs::path& cueSheet)
{
    const std::string sheetName = cueSheet.filename().string();
    const CueSheet sheet = readSheet(cueSheet, sheetName);
    std::vector<OpenedDataFile> files = openDataFiles(cueSheet, sheet, sheetName);
    std::vector<uint64_t> fileBytes;
    fileBytes.reserve(files.size());
    for (const OpenedDataFile& file : files)
        fileBytes.push_back(file.file->size());
    ImageLayout layout = layOutImage(sheet, fileBytes, sheetName);
    return std::make_unique<ImageDevice>(sheet, std::move(layout), std::move(files),
                                         ImageCdText(sheet, cueSheet.parent_path()));
}

} // namespace cueify
