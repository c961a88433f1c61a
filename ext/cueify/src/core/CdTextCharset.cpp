#include "core/CdTextCharset.h"

#include "core/MsJisText.h"
#include "core/Utf8.h"

#include <cueify/cdtext.h>

#include <algorithm>

namespace cueify {
namespace {

std::string latin1ToUtf8(std::string_view bytes)
{
    std::string text;
    for (const char byte : bytes)
        appendUtf8(text, static_cast<uint8_t>(byte));
    return text;
}

std::string utf8ToSingleBytes(std::string_view utf8, char32_t largest)
{
    std::string bytes;
    for (const char32_t c : codePointsOf(utf8))
        bytes += c <= largest ? static_cast<char>(c) : '?';
    return bytes;
}

} // namespace

bool isDoubleByteCharset(uint8_t charset) noexcept
{
    return charset == CUEIFY_CDTEXT_CHARSET_MSJIS;
}

bool isReadableCharset(uint8_t charset) noexcept
{
    return charset != CUEIFY_CDTEXT_CHARSET_KOREAN && charset != CUEIFY_CDTEXT_CHARSET_CHINESE;
}

std::string textToUtf8(std::string_view bytes, uint8_t charset)
{
    if (charset == CUEIFY_CDTEXT_CHARSET_MSJIS)
        return msJisToUtf8(bytes);
    return isReadableCharset(charset) ? latin1ToUtf8(bytes) : std::string();
}

std::string utf8ToText(std::string_view utf8, uint8_t charset)
{
    switch (charset) {
    case CUEIFY_CDTEXT_CHARSET_MSJIS:
        return utf8ToMsJis(utf8);
    case CUEIFY_CDTEXT_CHARSET_ASCII:
        return utf8ToSingleBytes(utf8, 0x7F);
    case CUEIFY_CDTEXT_CHARSET_KOREAN:
    case CUEIFY_CDTEXT_CHARSET_CHINESE:
        return std::string();
    default:
        return utf8ToSingleBytes(utf8, 0xFF);
    }
}

bool fitsLatin1(std::string_view utf8)
{
    const std::u32string codePoints = codePointsOf(utf8);
    return std::all_of(codePoints.begin(), codePoints.end(), [](char32_t c) { return c <= 0xFF; });
}

} // namespace cueify
