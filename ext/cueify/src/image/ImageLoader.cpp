#include "image/ImageLoader.h"

#include "image/CueSheetParser.h"
#include "image/CueSheetScan.h"
#include "image/ImageError.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

namespace cueify {
namespace {

namespace fs = std::filesystem;

// A CUE sheet is a few kilobytes; anything far larger is not one.
constexpr uintmax_t kLargestSheetBytes = 1 << 20;

// The text as libcue takes it: no UTF-8 byte-order mark, and a line end after the last line.
std::string readSheetText(const fs::path& cueSheet)
{
    std::error_code error;
    const uintmax_t size = fs::file_size(cueSheet, error);
    if (error || size > kLargestSheetBytes)
        throw ImageError("unreadable or oversized CUE sheet");
    std::string text(static_cast<size_t>(size), '\0');
    std::ifstream stream(cueSheet, std::ios::binary);
    if (!stream.read(text.data(), static_cast<std::streamsize>(text.size())))
        throw ImageError("unreadable CUE sheet");
    if (text.find('\0') != std::string::npos)
        throw ImageError("CUE sheet holds NUL bytes");
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    text += '\n';
    return text;
}

// The sheet without its REM lines. libcue reads some remarks (a keyword it knows followed by
// more words, or by none) as syntax errors, refusing good sheets and leaking what it had parsed;
// the scan has already taken the one remark that matters, REM SESSION.
std::string withoutRemarks(const std::string& text)
{
    std::string kept;
    for (size_t start = 0; start < text.size();) {
        const size_t next = text.find('\n', start) + 1; // the text ends with a line end
        const size_t word = text.find_first_not_of(" \t\r", start);
        const bool remark = text.compare(word, 3, "REM") == 0 &&
                            std::string_view(" \t\r\n").find(text[word + 3]) != std::string_view::npos;
        if (!remark)
            kept.append(text, start, next - start);
        start = next;
    }
    return kept;
}

struct SheetFiles
{
    std::vector<std::unique_ptr<DataFile>> files;
    std::vector<uint64_t> sectorCounts;
};

// Opens one data file per FILE line that has tracks; names are relative to the sheet.
SheetFiles openDataFiles(const fs::path& sheetDirectory, const std::vector<ScannedTrack>& scanned,
                         const std::vector<SheetTrack>& parsed)
{
    SheetFiles opened;
    for (size_t i = 0; i < scanned.size(); ++i) {
        if (i > 0 && scanned[i].fileLine == scanned[i - 1].fileLine)
            continue;
        const std::string& name = parsed[i].fileName;
        opened.files.push_back(openDataFile(sheetDirectory / name, scanned[i].fileType, name));
        opened.sectorCounts.push_back(opened.files.back()->size() / kRawSectorBytes);
    }
    return opened;
}

std::vector<ImageTrack> imageTracksOf(const std::vector<ScannedTrack>& scanned,
                                      const std::vector<SheetTrack>& parsed)
{
    std::vector<ImageTrack> tracks;
    size_t file = 0;
    for (size_t i = 0; i < scanned.size(); ++i) {
        if (i > 0 && scanned[i].fileLine != scanned[i - 1].fileLine)
            ++file;
        ImageTrack track;
        track.number = scanned[i].number;
        track.session = scanned[i].session;
        track.kind = parsed[i].kind;
        track.flags = parsed[i].flags;
        track.file = file;
        track.index0 = parsed[i].index0;
        track.index1 = parsed[i].index1;
        track.silentPregap = scanned[i].silentPregap;
        track.silentPostgap = scanned[i].silentPostgap;
        tracks.push_back(track);
    }
    return tracks;
}

} // namespace

std::unique_ptr<ImageDevice> loadImage(const fs::path& cueSheet)
{
    const std::string text = readSheetText(cueSheet);
    const std::vector<ScannedTrack> scanned = scanCueSheet(text);
    const std::vector<SheetTrack> parsed = parseCueSheet(withoutRemarks(text));
    if (scanned.size() != parsed.size())
        throw ImageError("CUE sheet tracks could not be matched");
    SheetFiles opened = openDataFiles(cueSheet.parent_path(), scanned, parsed);
    ImageLayout layout = layOutImage(imageTracksOf(scanned, parsed), opened.sectorCounts);
    return std::make_unique<ImageDevice>(std::move(layout), std::move(opened.files));
}

} // namespace cueify
