// Cooked sectors expand to the raw sectors a drive returns. The EDC is checked against libavutil's
// general CRC, the P and Q parity against libfec's general Reed-Solomon coder: neither shares code
// with the library's own.
#include "image/CookedSector.h"

extern "C" {
#include <fec.h>
#include <libavutil/crc.h>
}

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <vector>

namespace cueify::test {
namespace {

using RawSector = std::array<uint8_t, kRawSectorBytes>;

struct ReedSolomonFree
{
    void operator()(void* coder) const { free_rs_char(coder); }
};
// A codeword of data then two parity symbols over GF(2^8) from x^8 + x^4 + x^3 + x^2 + 1, with
// roots 1 and alpha: RS(255, 253) shortened to the length of a P or Q codeword.
using ReedSolomon = std::unique_ptr<void, ReedSolomonFree>;

uint32_t independentEdc(const uint8_t* bytes, size_t length)
{
    std::array<AVCRC, 1024> table{};
    EXPECT_EQ(av_crc_init(table.data(), 1, 32, 0xD8018001, sizeof table), 0);
    return av_crc(table.data(), 0, bytes, length);
}

uint32_t storedEdc(const RawSector& raw, size_t at)
{
    return uint32_t{raw[at]} | uint32_t{raw[at + 1]} << 8 | uint32_t{raw[at + 2]} << 16 |
           uint32_t{raw[at + 3]} << 24;
}

// The ECMA-130 layout of the parity: the 2340 bytes from byte 12 are 1170 words, byte b of word w
// at 12 + 2w + b. P vector (column n, byte b): words 43m + n for m = 0..23, parity words 1032 + n and
// 1075 + n. Q vector (diagonal n, byte b): words (44m + 43n) mod 1118 for m = 0..42, parity words
// 1118 + n and 1144 + n.
void expectParity(RawSector raw, bool headerAsZero)
{
    if (headerAsZero)
        std::fill(raw.begin() + 12, raw.begin() + 16, 0);
    const struct
    {
        const char* name;
        size_t vectors, length, parity;
        size_t (*word)(size_t n, size_t m);
    } kinds[] = {{"P column", 43, 24, 1032, [](size_t n, size_t m) { return 43 * m + n; }},
                 {"Q diagonal", 26, 43, 1118, [](size_t n, size_t m) { return (44 * m + 43 * n) % 1118; }}};
    for (const auto& kind : kinds) {
        const ReedSolomon coder(init_rs_char(8, 0x11D, 0, 1, 2, 255 - 2 - static_cast<int>(kind.length)));
        for (size_t b = 0; b < 2; ++b) {
            for (size_t n = 0; n < kind.vectors; ++n) {
                std::vector<uint8_t> data;
                for (size_t m = 0; m < kind.length; ++m)
                    data.push_back(raw[12 + 2 * kind.word(n, m) + b]);
                uint8_t parity[2];
                encode_rs_char(coder.get(), data.data(), parity);
                EXPECT_EQ(raw[12 + 2 * (kind.parity + n) + b], parity[0]) << kind.name << n << " byte " << b;
                EXPECT_EQ(raw[12 + 2 * (kind.parity + kind.vectors + n) + b], parity[1]) << kind.name << n;
            }
        }
    }
}

struct ModeCase
{
    const char* name;
    CookedMode mode;
    size_t stored;
    std::vector<uint8_t> afterHeader; // subheader, then the stored bytes
    size_t edcFrom, edcAt;            // edcAt 0: no EDC
    bool ecc, eccHeaderAsZero;
};

TEST(CookedSector, ExpandsToSyncHeaderSubheaderDataAndTheCodesOfItsMode)
{
    const ModeCase cases[] = {
        {"Mode1", CookedMode::Mode1, 2048, {}, 0, 2064, true, false},
        {"Mode2Form1", CookedMode::Mode2Form1, 2048, {0, 0, 8, 0, 0, 0, 8, 0}, 16, 2072, true, true},
        {"Mode2Form2", CookedMode::Mode2Form2, 2324, {0, 0, 0x20, 0, 0, 0, 0x20, 0}, 16, 2348, false, false},
        {"Mode2", CookedMode::Mode2, 2336, {}, 0, 0, false, false},
    };
    // The address 61:23:47 has no two BCD digits alike; the image tests read sectors near the start.
    constexpr uint32_t kFrame = (61 * 60 + 23) * 75 + 47;
    std::mt19937 random(2352);
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> stored(c.stored);
        for (uint8_t& byte : stored)
            byte = static_cast<uint8_t>(random());
        EXPECT_EQ(storedBytesOf(c.mode), c.stored);
        RawSector raw;
        raw.fill(0xEE);
        expandCookedSector(c.mode, AbsoluteFrame{kFrame}, stored.data(), raw.data());

        // Sync, the address in BCD, the mode, then the subheader and the stored bytes.
        std::vector<uint8_t> start(12, 0xFF);
        start.front() = start.back() = 0;
        start.insert(start.end(), {0x61, 0x23, 0x47, uint8_t(c.mode == CookedMode::Mode1 ? 1 : 2)});
        start.insert(start.end(), c.afterHeader.begin(), c.afterHeader.end());
        start.insert(start.end(), stored.begin(), stored.end());
        EXPECT_TRUE(std::equal(start.begin(), start.end(), raw.begin()));
        if (c.edcAt != 0)
            EXPECT_EQ(storedEdc(raw, c.edcAt), independentEdc(raw.data() + c.edcFrom, c.edcAt - c.edcFrom));
        if (c.mode == CookedMode::Mode1)
            EXPECT_TRUE(
                std::all_of(raw.begin() + 2068, raw.begin() + 2076, [](uint8_t b) { return b == 0; }));
        if (c.ecc)
            expectParity(raw, c.eccHeaderAsZero);
    }
}

} // namespace
} // namespace cueify::test
