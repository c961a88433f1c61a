// CD-Text packs put together byte by byte, the way a drive hands them over: tests build the
// packs they feed the library from the format's rules, not from the library's own writer.
#pragma once

#include "cueify_testing/CueifyOwners.h"

#include <cueify/cdtext.h>
#include <cueify/error.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cueify::test {

// The bytes of a string literal, embedded NULs included.
template <size_t N> std::string bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

// CRC-16 with polynomial 0x1021, initial 0, inverted: the CRC of CD sub-channel data.
inline uint16_t subchannelCrc(const uint8_t* bytes, size_t length)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = ((crc >> 15) ^ (bytes[i] >> bit)) & 1;
            crc = ((crc << 1) & 0xFFFF) ^ (top ? 0x1021 : 0);
        }
    }
    return static_cast<uint16_t>(crc ^ 0xFFFF);
}

struct RawPack
{
    uint8_t type = 0;
    uint8_t track = 0;
    uint8_t block = 0;
    uint8_t position = 0;
    bool doubleByte = false;
    std::array<uint8_t, 12> data{};
    bool extension = false;
};

// The strings of one pack type, each with its track and already ending with its terminator.
struct PackedText
{
    uint8_t track = 0;
    std::string bytes;
};

// The CD-Text's packs as cueify_cdtext_serialize writes them, or nothing when it refuses.
inline std::vector<uint8_t> serializedPacks(cueify_cdtext* cdText)
{
    size_t size = 0;
    if (cueify_cdtext_serialize(cdText, nullptr, &size) != CUEIFY_OK)
        return {};
    std::vector<uint8_t> packs(size);
    if (cueify_cdtext_serialize(cdText, packs.data(), &size) != CUEIFY_OK || size != packs.size())
        return {};
    return packs;
}

// A block's three size-information packs are added by finish(), with the packs of each type
// counted, every block's last sequence number and every block's language.
class PackBuilder
{
public:
    void add(const RawPack& pack) { m_packs.push_back(pack); }

    void text(uint8_t type, uint8_t block, const std::vector<PackedText>& strings, bool doubleByte = false)
    {
        std::string run;
        std::vector<std::pair<uint8_t, size_t>> owner; // track and offset of each byte
        for (const PackedText& string : strings) {
            for (size_t i = 0; i < string.bytes.size(); ++i)
                owner.emplace_back(string.track, i);
            run += string.bytes;
        }
        for (size_t at = 0; at < run.size(); at += 12) {
            RawPack pack{type, owner[at].first, block, uint8_t(std::min<size_t>(owner[at].second, 15)),
                         doubleByte};
            for (size_t i = 0; i < 12 && at + i < run.size(); ++i)
                pack.data[i] = uint8_t(run[at + i]);
            add(pack);
        }
    }

    void block(uint8_t number, uint8_t charset, uint8_t first, uint8_t last, uint8_t flags, uint8_t language)
    {
        m_blocks.push_back({number, charset, first, last, flags});
        m_languages[number] = language;
    }

    std::vector<uint8_t> finish() const
    {
        std::vector<RawPack> packs;
        std::array<uint8_t, 8> lastSequence{};
        for (const BlockInfo& info : m_blocks)
            lastSequence[info.number] = uint8_t(packsOf(info.number) + 2);
        for (const BlockInfo& info : m_blocks) {
            std::array<uint8_t, 36> size{info.charset, info.first, info.last, info.flags};
            for (const RawPack& pack : m_packs) {
                if (pack.block != info.number)
                    continue;
                packs.push_back(pack);
                if (pack.type >= 0x80 && pack.type <= 0x8F)
                    ++size[4 + pack.type - 0x80];
            }
            size[4 + 15] = 3;
            for (int b = 0; b < 8; ++b) {
                size[20 + b] = lastSequence[b];
                size[28 + b] = m_languages[b];
            }
            for (uint8_t element = 0; element < 3; ++element) {
                RawPack pack{0x8F, element, info.number};
                std::copy_n(size.begin() + element * 12, 12, pack.data.begin());
                packs.push_back(pack);
            }
        }
        return withHeader(packs);
    }

private:
    struct BlockInfo
    {
        uint8_t number, charset, first, last, flags;
    };

    size_t packsOf(uint8_t block) const
    {
        return std::count_if(m_packs.begin(), m_packs.end(),
                             [&](const RawPack& p) { return p.block == block; });
    }

    static std::vector<uint8_t> withHeader(const std::vector<RawPack>& packs)
    {
        std::vector<uint8_t> bytes = {uint8_t((packs.size() * 18 + 2) >> 8), uint8_t(packs.size() * 18 + 2),
                                      0, 0};
        std::array<uint8_t, 8> sequence{};
        for (const RawPack& p : packs) {
            const uint8_t at[4] = {p.type, uint8_t(p.track | (p.extension ? 0x80 : 0)), sequence[p.block]++,
                                   uint8_t((p.doubleByte ? 0x80 : 0) | p.block << 4 | p.position)};
            bytes.insert(bytes.end(), at, at + 4);
            bytes.insert(bytes.end(), p.data.begin(), p.data.end());
            const uint16_t crc = subchannelCrc(&bytes[bytes.size() - 16], 16);
            bytes.push_back(uint8_t(crc >> 8));
            bytes.push_back(uint8_t(crc));
        }
        return bytes;
    }

    std::vector<RawPack> m_packs;
    std::vector<BlockInfo> m_blocks;
    std::array<uint8_t, 8> m_languages{};
};

inline void addEnglishBlock(PackBuilder& packs)
{
    packs.block(0, CUEIFY_CDTEXT_CHARSET_ASCII, 1, 3, 0x01, CUEIFY_CDTEXT_LANG_ENGLISH);
    packs.text(0x80, 0,
               {{0, bytes("Harbour Lights\0")},
                {1, bytes("Low Tide\0")},
                {2, bytes("\t\0")},
                {3, bytes("Northern Pier\0")}});
    packs.text(0x81, 0,
               {{0, bytes("The Quay Ensemble\0")},
                {1, bytes("\t\0")},
                {2, bytes("\t\0")},
                {3, bytes("Ada Marsh\0")}});
    packs.text(0x82, 0, {{0, bytes("\0")}, {1, bytes("\0")}, {2, bytes("\0")}, {3, bytes("J. Wren\0")}});
    packs.text(0x85, 0,
               {{0, bytes("Recorded live\0")}, {1, bytes("\0")}, {2, bytes("\0")}, {3, bytes("\0")}});
    packs.text(0x86, 0, {{0, bytes("HL-0042\0")}});
    packs.text(0x87, 0,
               {{0, bytes("\x00\x0E"
                          "Harbour jazz\0")}});
    // First track 1, last 3, lead-out 10:00:00; then the starts of tracks 1 to 3.
    packs.add({0x88, 0, 0, 0, false, {1, 3, 0, 10, 0, 0}});
    packs.add({0x88, 1, 0, 0, false, {0, 2, 0, 3, 10, 20, 6, 40, 5}});
    packs.add({0x89, 2, 0, 0, false, {1, 2, 0, 0, 0, 0, 3, 10, 20, 4, 0, 0}});
    packs.add({0x89, 2, 0, 0, false, {2, 2, 0, 0, 0, 0, 5, 0, 0, 6, 40, 5}});
    packs.text(0x8E, 0,
               {{0, bytes("0012345678905\0")},
                {1, bytes("GBXYZ2600001\0")},
                {2, bytes("GBXYZ2600002\0")},
                {3, bytes("GBXYZ2600003\0")}});
}

inline void addJapaneseBlock(PackBuilder& packs)
{
    packs.block(1, CUEIFY_CDTEXT_CHARSET_MSJIS, 1, 3, 0x00, CUEIFY_CDTEXT_LANG_JAPANESE);
    // Shift-JIS codes, single-byte JIS X 0201 as 0x00xx, and the TAB as 09 09.
    packs.text(0x80, 1,
               {{0, bytes("\x8d\x60\x82\xcc\x93\x94\0\0")},
                {1, bytes("\x96\xe9\x82\xcc\x95\x75\x93\xaa\0\0")},
                {2, bytes("\x09\x09\0\0")},
                {3, bytes("\x00\x41\x94\x67\0\0")}},
               true);
    packs.text(0x81, 1,
               {{0, bytes("\x00\xb1\x00\xdd\x00\xbb\x00\xdd\x00\xcc\x00\xde\x00\xd9\0\0")},
                {1, bytes("\x09\x09\0\0")},
                {2, bytes("\0\0")},
                {3, bytes("\x87\x40\0\0")}},
               true);
}

// A disc's CD-Text in two blocks, English in ASCII and Japanese in MS-JIS, with the CD-Text TOC.
inline std::vector<uint8_t> twoBlockDisc()
{
    PackBuilder packs;
    addEnglishBlock(packs);
    addJapaneseBlock(packs);
    return packs.finish();
}

} // namespace cueify::test
