// CD-Text packs put together byte by byte, the way a drive hands them over: tests build the
// packs they feed the library from the format's rules, not from the library's own writer.
#pragma once

#include "cueify_testing/CueifyOwners.h"

#include <cueify/cdtext.h>
#include <cueify/error.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace cueify::test {

using namespace std::string_literals;

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

// A pack's fields but those the builder fills in: its block, sequence number and CRC.
struct RawPack
{
    uint8_t type = 0;
    uint8_t track = 0;
    uint8_t position = 0;
    bool doubleByte = false;
    std::array<uint8_t, 12> data{};
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

// Packs go to the block begun last. Each block's three size-information packs are added by
// finish(), with the packs of each type counted, every block's last sequence number and every
// block's language.
class PackBuilder
{
public:
    void block(uint8_t number, uint8_t charset, uint8_t first, uint8_t last, uint8_t flags, uint8_t language)
    {
        m_blocks.push_back({number, charset, first, last, flags, language, {}});
    }

    void add(const RawPack& pack) { m_blocks.back().packs.push_back(pack); }

    // The strings of one pack type for the disc (track 0) and its tracks in order, each already
    // ending with its terminator, run together and cut into packs.
    void text(uint8_t type, const std::vector<std::string>& strings, bool doubleByte = false)
    {
        std::string run;
        std::vector<std::pair<uint8_t, size_t>> owner; // track and offset of each byte
        for (size_t track = 0; track < strings.size(); ++track) {
            for (size_t i = 0; i < strings[track].size(); ++i)
                owner.emplace_back(track, i);
            run += strings[track];
        }
        for (size_t at = 0; at < run.size(); at += 12) {
            RawPack pack{type, owner[at].first, uint8_t(std::min<size_t>(owner[at].second, 15)), doubleByte};
            for (size_t i = 0; i < 12 && at + i < run.size(); ++i)
                pack.data[i] = uint8_t(run[at + i]);
            add(pack);
        }
    }

    std::vector<uint8_t> finish() const
    {
        std::array<uint8_t, 8> lastSequence{}, languages{};
        for (const Block& b : m_blocks) {
            lastSequence[b.number] = uint8_t(b.packs.size() + 2); // three of size information follow
            languages[b.number] = b.language;
        }
        std::vector<uint8_t> bytes(4); // the length, then two reserved bytes
        for (const Block& b : m_blocks) {
            std::array<uint8_t, 36> size{b.charset, b.first, b.last, b.flags};
            std::vector<RawPack> packs = b.packs;
            for (const RawPack& pack : packs) {
                if (pack.type >= 0x80 && pack.type <= 0x8F)
                    ++size[4 + pack.type - 0x80];
            }
            size[4 + 15] = 3;
            std::copy(lastSequence.begin(), lastSequence.end(), size.begin() + 20);
            std::copy(languages.begin(), languages.end(), size.begin() + 28);
            for (uint8_t element = 0; element < 3; ++element) {
                packs.push_back({0x8F, element});
                std::copy_n(size.begin() + element * 12, 12, packs.back().data.begin());
            }
            for (size_t sequence = 0; sequence < packs.size(); ++sequence) {
                const RawPack& p = packs[sequence];
                const uint8_t at[4] = {p.type, p.track, uint8_t(sequence),
                                       uint8_t((p.doubleByte ? 0x80 : 0) | b.number << 4 | p.position)};
                bytes.insert(bytes.end(), at, at + 4);
                bytes.insert(bytes.end(), p.data.begin(), p.data.end());
                const uint16_t crc = subchannelCrc(&bytes[bytes.size() - 16], 16);
                bytes.push_back(uint8_t(crc >> 8));
                bytes.push_back(uint8_t(crc));
            }
        }
        bytes[0] = uint8_t((bytes.size() - 2) >> 8);
        bytes[1] = uint8_t(bytes.size() - 2);
        return bytes;
    }

private:
    struct Block
    {
        uint8_t number, charset, first, last, flags, language;
        std::vector<RawPack> packs;
    };

    std::vector<Block> m_blocks;
};

// A disc's CD-Text in two blocks, English in ASCII and Japanese in MS-JIS, with the CD-Text TOC.
inline std::vector<uint8_t> twoBlockDisc()
{
    PackBuilder packs;
    packs.block(0, CUEIFY_CDTEXT_CHARSET_ASCII, 1, 3, 0x01, CUEIFY_CDTEXT_LANG_ENGLISH);
    packs.text(0x80, {"Harbour Lights\0"s, "Low Tide\0"s, "\t\0"s, "Northern Pier\0"s});
    packs.text(0x81, {"The Quay Ensemble\0"s, "\t\0"s, "\t\0"s, "Ada Marsh\0"s});
    packs.text(0x82, {"\0"s, "\0"s, "\0"s, "J. Wren\0"s});
    packs.text(0x85, {"Recorded live\0"s, "\0"s, "\0"s, "\0"s});
    packs.text(0x86, {"HL-0042\0"s});
    packs.text(0x87, {"\x00\x0E"s + "Harbour jazz\0"s});
    // First track 1, last 3, lead-out 10:00:00; then the starts of tracks 1 to 3.
    packs.add({0x88, 0, 0, false, {1, 3, 0, 10, 0, 0}});
    packs.add({0x88, 1, 0, false, {0, 2, 0, 3, 10, 20, 6, 40, 5}});
    packs.add({0x89, 2, 0, false, {1, 2, 0, 0, 0, 0, 3, 10, 20, 4, 0, 0}});
    packs.add({0x89, 2, 0, false, {2, 2, 0, 0, 0, 0, 5, 0, 0, 6, 40, 5}});
    packs.text(0x8E, {"0012345678905\0"s, "GBXYZ2600001\0"s, "GBXYZ2600002\0"s, "GBXYZ2600003\0"s});
    packs.block(1, CUEIFY_CDTEXT_CHARSET_MSJIS, 1, 3, 0x00, CUEIFY_CDTEXT_LANG_JAPANESE);
    // Shift-JIS codes, single-byte JIS X 0201 as 0x00xx, and the TAB as 09 09.
    packs.text(0x80,
               {"\x8d\x60\x82\xcc\x93\x94\0\0"s, "\x96\xe9\x82\xcc\x95\x75\x93\xaa\0\0"s, "\x09\x09\0\0"s,
                "\x00\x41\x94\x67\0\0"s},
               true);
    packs.text(0x81,
               {"\x00\xb1\x00\xdd\x00\xbb\x00\xdd\x00\xcc\x00\xde\x00\xd9\0\0"s, "\x09\x09\0\0"s, "\0\0"s,
                "\x87\x40\0\0"s},
               true);
    return packs.finish();
}

// Everything the getters answer of one block, a line per kind of text that has any, each with
// the texts of the disc and of every track up to one past the block's last, or up to lastAsked
// when that is given ("-" for none).
inline std::string describeBlock(cueify_cdtext_block* b, unsigned lastAsked = 0)
{
    if (!b)
        return "no block\n";
    char line[160];
    const char* discId = cueify_cdtext_block_get_discid(b);
    const char* genre = cueify_cdtext_block_get_genre_name(b);
    std::snprintf(line, sizeof line,
                  "charset %d, language %d, tracks %d-%d, flags %d%d%d%d%d, id %s, genre %d %s\n",
                  cueify_cdtext_block_get_charset(b), cueify_cdtext_block_get_language(b),
                  cueify_cdtext_block_get_first_track(b), cueify_cdtext_block_get_last_track(b),
                  cueify_cdtext_block_has_program_data(b), cueify_cdtext_block_has_program_copyright(b),
                  cueify_cdtext_block_has_message_copyright(b), cueify_cdtext_block_has_name_copyright(b),
                  cueify_cdtext_block_has_title_copyright(b), discId ? discId : "-",
                  cueify_cdtext_block_get_genre_code(b), genre ? genre : "-");
    std::string text = line;
    using Getter = const char* (*)(cueify_cdtext_block*, uint8_t);
    const std::pair<const char*, Getter> kinds[] = {
        {"title", cueify_cdtext_block_get_title},           {"performer", cueify_cdtext_block_get_performer},
        {"songwriter", cueify_cdtext_block_get_songwriter}, {"composer", cueify_cdtext_block_get_composer},
        {"arranger", cueify_cdtext_block_get_arranger},     {"message", cueify_cdtext_block_get_message},
        {"private", cueify_cdtext_block_get_private},       {"upc_isrc", cueify_cdtext_block_get_upc_isrc}};
    for (const auto& [name, getter] : kinds) {
        std::string texts;
        bool any = false;
        for (unsigned track = 0;
             track <= (lastAsked ? lastAsked : cueify_cdtext_block_get_last_track(b) + 1u); ++track) {
            const char* found = getter(b, uint8_t(track));
            any = any || found;
            texts += std::string(track ? "|" : "") + (found ? found : "-");
        }
        if (any)
            text += std::string(name) + ": " + texts + "\n";
    }
    return text;
}

} // namespace cueify::test
