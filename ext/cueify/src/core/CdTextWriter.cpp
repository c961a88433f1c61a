#include "core/CdTextWriter.h"

#include "core/CdTextCharset.h"
#include "core/CdTextPack.h"
#include "core/CdTextSizeInfo.h"
#include "core/CdTextStrings.h"
#include "core/CdTextTocPacks.h"
#include "core/Failure.h"

#include <cueify/cdtext.h>
#include <cueify/error.h>

namespace cueify {
namespace {

constexpr size_t kMostPacksInBlock = 256;
constexpr size_t kMostPacks = 2048;

using Packs = std::vector<CdTextPack>;

void append(Packs& packs, const Packs& more)
{
    packs.insert(packs.end(), more.begin(), more.end());
}

// Every entry of the block is written, a missing one as an empty string, so that each string
// stays with its track.
Packs textPacks(const CdTextBlock& block, CdTextKind kind, uint8_t number)
{
    const std::optional<CdTextEntries>& entries = block.texts[static_cast<size_t>(kind)];
    const bool blockCharset = followsBlockCharset(kind);
    if (!entries || !entries->hasText() || (blockCharset && !isReadableCharset(block.charset)))
        return {};
    const uint8_t charset = blockCharset ? block.charset : CUEIFY_CDTEXT_CHARSET_ISO8859_1;
    std::vector<TrackString> strings;
    for (size_t index = 0; index < block.entryCount(); ++index) {
        const std::string* entry = entries->stored(index);
        const auto track = static_cast<uint8_t>(index == 0 ? 0 : block.firstTrack + index - 1);
        strings.push_back({track, entry ? utf8ToText(*entry, charset) : std::string()});
    }
    return packStrings(packTypeOf(kind), number, isDoubleByteCharset(charset), strings);
}

Packs discIdPacks(const CdTextBlock& block, uint8_t number)
{
    if (!block.discId)
        return {};
    return packStrings(pack_type::kDiscId, number, false,
                       {{0, utf8ToText(*block.discId, CUEIFY_CDTEXT_CHARSET_ISO8859_1)}});
}

Packs genrePacks(const CdTextBlock& block, uint8_t number)
{
    if (!block.genre.isSet())
        return {};
    std::string bytes{static_cast<char>(block.genre.code >> 8), static_cast<char>(block.genre.code)};
    bytes += utf8ToText(block.genre.name.value_or(std::string()), CUEIFY_CDTEXT_CHARSET_ISO8859_1);
    return packStrings(pack_type::kGenre, number, false, {{0, bytes}});
}

// All packs of a block but its size information, in ascending types.
Packs contentPacks(const CdTextBlock& block, uint8_t number, const CdTextToc& toc)
{
    Packs packs;
    for (CdTextKind kind : {CdTextKind::Title, CdTextKind::Performer, CdTextKind::Songwriter,
                            CdTextKind::Composer, CdTextKind::Arranger, CdTextKind::Message})
        append(packs, textPacks(block, kind, number));
    append(packs, discIdPacks(block, number));
    append(packs, genrePacks(block, number));
    if (number == 0)
        append(packs, packToc(toc));
    append(packs, textPacks(block, CdTextKind::Private, number));
    append(packs, textPacks(block, CdTextKind::UpcIsrc, number));
    return packs;
}

std::array<Packs, kCdTextBlocks> contentOfBlocks(const CdTextData& cdText)
{
    std::array<Packs, kCdTextBlocks> blocks;
    size_t total = 0;
    for (uint8_t number = 0; number < kCdTextBlocks; ++number) {
        if (!cdText.blocks[number])
            continue;
        blocks[number] = contentPacks(*cdText.blocks[number], number, cdText.toc);
        const size_t count = blocks[number].size() + kSizeInfoPacks;
        if (count > kMostPacksInBlock)
            throw Failure(CUEIFY_ERR_INVALID_CDTEXT, "CD-Text block " + std::to_string(number) + " needs " +
                                                         std::to_string(count) + " packs, more than " +
                                                         std::to_string(kMostPacksInBlock));
        total += count;
    }
    if (total > kMostPacks)
        throw Failure(CUEIFY_ERR_INVALID_CDTEXT, "CD-Text needs " + std::to_string(total) +
                                                     " packs, more than " + std::to_string(kMostPacks));
    return blocks;
}

BlockSummary summaryOf(const CdTextData& cdText, const std::array<Packs, kCdTextBlocks>& blocks)
{
    BlockSummary summary;
    for (size_t number = 0; number < kCdTextBlocks; ++number) {
        if (!cdText.blocks[number])
            continue;
        summary.lastSequences[number] = static_cast<uint8_t>(blocks[number].size() + kSizeInfoPacks - 1);
        summary.languages[number] = cdText.blocks[number]->language;
    }
    return summary;
}

void countPacks(BlockSummary& summary, const Packs& packs)
{
    summary.packCounts.fill(0);
    for (const CdTextPack& pack : packs)
        ++summary.packCounts[pack.type - pack_type::kTitle];
    summary.packCounts[pack_type::kSizeInfo - pack_type::kTitle] = kSizeInfoPacks;
}

void writePacks(std::vector<uint8_t>& bytes, const Packs& packs)
{
    uint8_t sequence = 0;
    for (CdTextPack pack : packs) {
        pack.sequence = sequence++;
        bytes.resize(bytes.size() + kPackBytes);
        pack.writeTo(bytes.data() + bytes.size() - kPackBytes);
    }
}

} // namespace

std::vector<uint8_t> writeCdTextPacks(const CdTextData& cdText)
{
    std::array<Packs, kCdTextBlocks> blocks = contentOfBlocks(cdText);
    BlockSummary summary = summaryOf(cdText, blocks);
    std::vector<uint8_t> bytes(kCdTextHeaderBytes, 0);
    for (uint8_t number = 0; number < kCdTextBlocks; ++number) {
        if (!cdText.blocks[number])
            continue;
        countPacks(summary, blocks[number]);
        append(blocks[number], sizeInfoPacks(*cdText.blocks[number], number, summary));
        writePacks(bytes, blocks[number]);
    }
    const size_t length = bytes.size() - 2;
    bytes[0] = static_cast<uint8_t>(length >> 8);
    bytes[1] = static_cast<uint8_t>(length);
    return bytes;
}

} // namespace cueify
