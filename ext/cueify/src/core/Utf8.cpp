#include "core/Utf8.h"

#include <cstdint>

namespace cueify {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The number of bytes a sequence that starts with lead takes, or 0 for no valid lead byte.
size_t sequenceLength(uint8_t lead) noexcept
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Overlong forms, surrogates and values past U+10FFFF are not characters.
bool isCharacter(char32_t codePoint, size_t length) noexcept
{
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    return codePoint >= kSmallest[length] && codePoint <= 0x10FFFF &&
           (codePoint < 0xD800 || codePoint > 0xDFFF);
}

} // namespace

std::u32string codePointsOf(std::string_view utf8)
{
    std::u32string codePoints;
    for (size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<uint8_t>(utf8[at]);
        const size_t length = sequenceLength(lead);
        char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        size_t taken = 1;
        while (length > 1 && taken < length && at + taken < utf8.size() &&
               (static_cast<uint8_t>(utf8[at + taken]) & 0xC0) == 0x80)
            codePoint = codePoint << 6 | (static_cast<uint8_t>(utf8[at + taken++]) & 0x3F);
        const bool whole = length != 0 && taken == length && isCharacter(codePoint, length);
        codePoints.push_back(whole ? codePoint : kReplacement);
        at += taken;
    }
    return codePoints;
}

void appendUtf8(std::string& text, char32_t codePoint)
{
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | codePoint >> 6);
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | codePoint >> 12);
        text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | codePoint >> 18);
        text += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace cueify
