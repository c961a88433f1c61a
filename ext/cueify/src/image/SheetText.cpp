#include "image/SheetText.h"

#include "core/Failure.h"
#include "core/Utf8.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace cueify {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";

// Windows-1252 between 0x80 and 0x9F; the five unassigned bytes keep their Latin-1 meaning.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the UTF-8 sequence at pos, or 0 when it is malformed, overlong or a surrogate.
size_t utf8SequenceAt(std::string_view text, size_t pos)
{
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[pos + i]); };
    const uint8_t lead = byte(0);
    size_t length = 0;
    uint32_t least = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2, least = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, least = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, least = 0x10000;
    else
        return 0;
    if (pos + length > text.size())
        return 0;
    uint32_t codePoint = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = codePoint << 6 | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < least || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

bool isUtf8(std::string_view text)
{
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = utf8SequenceAt(text, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

std::string fromCp1252(std::string_view text)
{
    std::string utf8;
    utf8.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        appendUtf8(utf8, byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char32_t{byte});
    }
    return utf8;
}

std::string fromUtf16(std::string_view text, bool bigEndian)
{
    if (text.size() % 2 != 0)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "UTF-16 sheet with an odd number of bytes");
    const auto unitAt = [&](size_t pos) {
        const auto first = static_cast<uint8_t>(text[pos]);
        const auto second = static_cast<uint8_t>(text[pos + 1]);
        return static_cast<uint32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::string utf8;
    for (size_t pos = 0; pos < text.size(); pos += 2) {
        uint32_t unit = unitAt(pos);
        if (unit >= 0xD800 && unit < 0xDC00 && pos + 2 < text.size()) {
            const uint32_t low = unitAt(pos + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                pos += 2;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            throw Failure(CUEIFY_ERR_NO_DEVICE, "UTF-16 sheet with an unpaired surrogate");
        appendUtf8(utf8, static_cast<char32_t>(unit));
    }
    return utf8;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

std::string sheetTextAsUtf8(const std::string& bytes)
{
    const std::string_view text(bytes);
    std::string utf8;
    if (startsWith(text, kUtf16LittleMark))
        utf8 = fromUtf16(text.substr(2), false);
    else if (startsWith(text, kUtf16BigMark))
        utf8 = fromUtf16(text.substr(2), true);
    else {
        const std::string_view body = startsWith(text, kUtf8Mark) ? text.substr(kUtf8Mark.size()) : text;
        utf8 = isUtf8(body) ? std::string(body) : fromCp1252(body);
    }
    if (utf8.find('\0') != std::string::npos)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "NUL byte in the sheet: not a text file");
    return utf8;
}

} // namespace cueify
