#include "core/MsJisText.h"

#include "core/Iconv.h"
#include "core/Utf8.h"

#include <cstdint>
#include <optional>

namespace cueify {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kYen = 0x00A5;
constexpr char32_t kOverline = 0x203E;
constexpr char32_t kFirstHalfwidthKatakana = 0xFF61;
constexpr uint8_t kFirstKatakanaByte = 0xA1;
constexpr uint8_t kLastKatakanaByte = 0xDF;
constexpr uint16_t kTabCode = 0x0909;

// JIS X 0201 is ASCII except for the yen sign and the overline, plus half-width katakana.
char32_t singleByteCharacter(uint8_t byte) noexcept
{
    if (byte == 0x5C)
        return kYen;
    if (byte == 0x7E)
        return kOverline;
    if (byte < 0x80)
        return byte;
    if (byte >= kFirstKatakanaByte && byte <= kLastKatakanaByte)
        return kFirstHalfwidthKatakana + (byte - kFirstKatakanaByte);
    return kReplacement;
}

// Two-byte Shift-JIS codes: a lead byte of 0x81-0x9F or 0xE0-0xFC, a trail byte of 0x40-0xFC
// but 0x7F. Anything else would make the tables read one byte as a character of its own.
bool isDoubleByteCode(uint8_t high, uint8_t low) noexcept
{
    const bool lead = (high >= 0x81 && high <= 0x9F) || (high >= 0xE0 && high <= 0xFC);
    return lead && low >= 0x40 && low <= 0xFC && low != 0x7F;
}

// NUL has no single byte of its own: 0x0000 ends the string.
std::optional<uint8_t> singleByteOf(char32_t c) noexcept
{
    if (c == 0)
        return std::nullopt;
    if (c == kYen)
        return 0x5C;
    if (c == kOverline)
        return 0x7E;
    if (c < 0x80 && c != 0x5C && c != 0x7E)
        return static_cast<uint8_t>(c);
    if (c >= kFirstHalfwidthKatakana &&
        c <= kFirstHalfwidthKatakana + (kLastKatakanaByte - kFirstKatakanaByte))
        return static_cast<uint8_t>(kFirstKatakanaByte + (c - kFirstHalfwidthKatakana));
    return std::nullopt;
}

// Shift-JIS proper first; Microsoft's code page adds the NEC and IBM rows some discs use.
struct ShiftJisTables
{
    Iconv shiftJis;
    Iconv codePage932;
};

std::optional<std::string> throughTables(ShiftJisTables& tables, std::string_view input, size_t outputBytes)
{
    for (Iconv* table : {&tables.shiftJis, &tables.codePage932}) {
        std::optional<std::string> converted = table->convert(input);
        if (converted && (outputBytes == 0 || converted->size() == outputBytes))
            return converted;
    }
    return std::nullopt;
}

std::string codeOf(ShiftJisTables& tables, char32_t c)
{
    if (c == '\t')
        return {'\x09', '\x09'};
    if (std::optional<uint8_t> single = singleByteOf(c))
        return {'\0', static_cast<char>(*single)};
    // The backslash and the tilde have full-width forms in JIS X 0208; the single bytes mean ¥ and ‾.
    if (c == 0x5C || c == 0x7E)
        c += 0xFEE0;
    std::string utf8;
    appendUtf8(utf8, c);
    return throughTables(tables, utf8, 2).value_or(std::string{'\0', '?'});
}

} // namespace

std::string msJisToUtf8(std::string_view codes)
{
    ShiftJisTables tables{Iconv("UTF-8", "SHIFT_JIS"), Iconv("UTF-8", "CP932")};
    std::string text;
    for (size_t at = 0; at + 1 < codes.size(); at += 2) {
        const auto high = static_cast<uint8_t>(codes[at]), low = static_cast<uint8_t>(codes[at + 1]);
        if ((high << 8 | low) == kTabCode)
            text += '\t';
        else if (high == 0)
            appendUtf8(text, singleByteCharacter(low));
        else if (const std::optional<std::string> converted =
                     isDoubleByteCode(high, low) ? throughTables(tables, codes.substr(at, 2), 0)
                                                 : std::nullopt)
            text += *converted;
        else
            appendUtf8(text, kReplacement);
    }
    return text;
}

std::string utf8ToMsJis(std::string_view utf8)
{
    ShiftJisTables tables{Iconv("SHIFT_JIS", "UTF-8"), Iconv("CP932", "UTF-8")};
    std::string codes;
    for (const char32_t c : codePointsOf(utf8))
        codes += codeOf(tables, c);
    return codes;
}

} // namespace cueify
