#include "core/CdTextReader.h"

#include "core/CdTextCharset.h"
#include "core/CdTextPack.h"
#include "core/CdTextSizeInfo.h"
#include "core/CdTextStrings.h"
#include "core/CdTextTocPacks.h"
#include "core/Failure.h"

#include <cueify/cdtext.h>
#include <cueify/error.h>

#include <algorithm>

namespace cueify {
namespace {

constexpr size_t kPackTypes = 16;

// The data bytes of each pack type of one block, in the order they came.
using BlockData = std::array<std::optional<std::string>, kPackTypes>;

size_t lengthAfterHeader(const uint8_t* buffer, size_t size)
{
    if (size < kCdTextHeaderBytes)
        throw Failure(CUEIFY_ERR_TRUNCATED,
                      "CD-Text of " + std::to_string(size) + " bytes has no whole header");
    const size_t length = size_t{buffer[0]} << 8 | buffer[1];
    if (length > size - 2)
        throw Failure(CUEIFY_ERR_TRUNCATED, "CD-Text of " + std::to_string(size) + " bytes says it has " +
                                                std::to_string(length + 2));
    if (length < 2 || (length - 2) % kPackBytes != 0)
        throw Failure(CUEIFY_ERR_CORRUPTED,
                      "CD-Text of length " + std::to_string(length) + " holds no whole number of packs");
    return length + 2;
}

bool isKnownType(uint8_t type) noexcept
{
    return type >= pack_type::kTitle && type <= pack_type::kSizeInfo;
}

std::string stringOf(const std::string& data, size_t from)
{
    const std::vector<std::string> strings = splitStrings(std::string_view(data).substr(from), false, 1);
    return textToUtf8(strings.empty() ? std::string() : strings.front(), CUEIFY_CDTEXT_CHARSET_ISO8859_1);
}

std::optional<CdTextEntries> entriesOf(const CdTextBlock& block, CdTextKind kind, const std::string& data)
{
    const bool blockCharset = followsBlockCharset(kind);
    if (blockCharset && !isReadableCharset(block.charset))
        return std::nullopt;
    const uint8_t charset = blockCharset ? block.charset : CUEIFY_CDTEXT_CHARSET_ISO8859_1;
    const size_t count = block.entryCount();
    std::vector<std::optional<std::string>> entries(count);
    const std::vector<std::string> strings = splitStrings(data, isDoubleByteCharset(charset), count);
    std::transform(strings.begin(), strings.end(), entries.begin(),
                   [&](const std::string& bytes) { return textToUtf8(bytes, charset); });
    return CdTextEntries(std::move(entries));
}

std::optional<CdTextBlock> blockOf(const BlockData& data, uint8_t number)
{
    const std::optional<std::string>& sizeInfo = data[pack_type::kSizeInfo - pack_type::kTitle];
    if (!sizeInfo || sizeInfo->size() != kSizeInfoBytes)
        return std::nullopt;
    SizeInfoBytes bytes;
    std::copy(sizeInfo->begin(), sizeInfo->end(), bytes.begin());
    CdTextBlock block = blockOfSizeInfo(bytes, number);
    for (size_t kind = 0; kind < kCdTextKinds; ++kind) {
        const std::optional<std::string>& text = data[packTypeOf(CdTextKind(kind)) - pack_type::kTitle];
        if (text)
            block.texts[kind] = entriesOf(block, CdTextKind(kind), *text);
    }
    if (const std::optional<std::string>& discId = data[pack_type::kDiscId - pack_type::kTitle])
        block.discId = stringOf(*discId, 0);
    if (const std::optional<std::string>& genre = data[pack_type::kGenre - pack_type::kTitle]) {
        block.genre.code = static_cast<uint16_t>(uint8_t((*genre)[0]) << 8 | uint8_t((*genre)[1]));
        block.genre.name = stringOf(*genre, 2);
    }
    return block;
}

} // namespace

CdTextData readCdTextPacks(const uint8_t* buffer, size_t size)
{
    const size_t end = lengthAfterHeader(buffer, size);
    CdTextData cdText;
    std::array<BlockData, kCdTextBlocks> blocks;
    for (size_t at = kCdTextHeaderBytes; at < end; at += kPackBytes) {
        const CdTextPack pack = CdTextPack::fromBytes(buffer + at);
        if (pack.extension || !isKnownType(pack.type))
            continue;
        if (pack.type == pack_type::kToc || pack.type == pack_type::kTocIntervals) {
            readTocPack(cdText.toc, pack);
            continue;
        }
        std::optional<std::string>& data = blocks[pack.block][pack.type - pack_type::kTitle];
        if (!data)
            data.emplace();
        data->append(pack.data.begin(), pack.data.end());
    }
    for (uint8_t number = 0; number < kCdTextBlocks; ++number)
        cdText.blocks[number] = blockOf(blocks[number], number);
    return cdText;
}

} // namespace cueify
