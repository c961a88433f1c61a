// The character sets of CD-Text blocks to and from UTF-8.
#include "cueify_testing/CdTextTesting.h"

#include "core/CdTextCharset.h"

#include <gtest/gtest.h>

namespace cueify::test {
namespace {

constexpr uint8_t kIso = CUEIFY_CDTEXT_CHARSET_ISO8859_1;
constexpr uint8_t kAscii = CUEIFY_CDTEXT_CHARSET_ASCII;
constexpr uint8_t kMsJis = CUEIFY_CDTEXT_CHARSET_MSJIS;

struct CharsetCase
{
    uint8_t charset;
    std::string bytes;
    std::string utf8;
};

TEST(CdTextCharset, TextMapsBothWays)
{
    const std::vector<CharsetCase> cases = {
        {kIso, "Caf\xe9 \xa9", "Café ©"},
        {kAscii, "Plain\t", "Plain\t"},
        {kMsJis, bytes("\x82\xa0\x8d\x60"), "あ港"},
        {kMsJis, bytes("\x00\x41\x00\x5c\x00\x7e"), "A¥‾"},
        {kMsJis, bytes("\x00\xb1\x00\xdf"), "ｱﾟ"},
        {kMsJis, bytes("\x09\x09"), "\t"},
        {kMsJis, bytes("\x87\x40"), "①"},
        {kMsJis, bytes("\x81\x5f\x81\x60"), "＼〜"},
    };
    for (const CharsetCase& c : cases) {
        EXPECT_EQ(textToUtf8(c.bytes, c.charset), c.utf8) << c.utf8;
        EXPECT_EQ(utf8ToText(c.utf8, c.charset), c.bytes) << c.utf8;
    }
}

TEST(CdTextCharset, WhatASetCannotHoldBecomesAQuestionMark)
{
    const std::vector<CharsetCase> cases = {
        {kIso, "a?b", "a€b"},
        {kAscii, "Caf?", "Café"},
        {kIso, "?", "\xff"}, // not UTF-8 at all
        {kMsJis, bytes("\x00\x3f"), "한"},
        {kMsJis, bytes("\x00\x3f"), bytes("\0")},   // 00 00 would end the string
        {kMsJis, bytes("\x81\x5f\x81\x60"), "\\~"}, // the single bytes stand for ¥ and ‾
    };
    for (const CharsetCase& c : cases)
        EXPECT_EQ(utf8ToText(c.utf8, c.charset), c.bytes) << c.utf8;
}

TEST(CdTextCharset, UnmappedMsJisCodesBecomeReplacementCharacters)
{
    // Unmapped, not JIS X 0201, a lead byte without its trail (which would read as two characters,
    // the second a NUL), and a trailing odd byte.
    EXPECT_EQ(textToUtf8(bytes("\x82\xa0\xfc\xfc\x00\x80\x80\x00\x82"), kMsJis), "あ\uFFFD\uFFFD\uFFFD");
}

TEST(CdTextCharset, KoreanAndChineseAreNotConverted)
{
    for (const uint8_t charset : {CUEIFY_CDTEXT_CHARSET_KOREAN, CUEIFY_CDTEXT_CHARSET_CHINESE}) {
        EXPECT_EQ(textToUtf8("\xb0\xa1", charset), "");
        EXPECT_EQ(utf8ToText("가", charset), "");
    }
}

} // namespace
} // namespace cueify::test
