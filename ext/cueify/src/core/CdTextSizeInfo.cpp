#include "core/CdTextSizeInfo.h"

#include "core/Failure.h"

#include <cueify/error.h>

#include <algorithm>
#include <string>

namespace cueify {
namespace {

constexpr size_t kCharset = 0;
constexpr size_t kFirstTrack = 1;
constexpr size_t kLastTrack = 2;
constexpr size_t kFlags = 3;
constexpr size_t kPackCounts = 4;
constexpr size_t kLastSequences = 20;
constexpr size_t kLanguages = 28;

} // namespace

CdTextBlock blockOfSizeInfo(const SizeInfoBytes& bytes, uint8_t blockNumber)
{
    CdTextBlock block;
    block.charset = bytes[kCharset];
    block.firstTrack = bytes[kFirstTrack];
    block.lastTrack = bytes[kLastTrack];
    block.flags = CdTextFlags::fromByte(bytes[kFlags]);
    block.language = bytes[kLanguages + blockNumber];
    if (block.firstTrack == 0 || block.firstTrack > block.lastTrack || block.lastTrack > 99)
        throw Failure(CUEIFY_ERR_CORRUPTED, "CD-Text block " + std::to_string(blockNumber) +
                                                " holds tracks " + std::to_string(block.firstTrack) + " to " +
                                                std::to_string(block.lastTrack));
    return block;
}

std::vector<CdTextPack> sizeInfoPacks(const CdTextBlock& block, uint8_t blockNumber,
                                      const BlockSummary& summary)
{
    SizeInfoBytes bytes{};
    bytes[kCharset] = block.charset;
    bytes[kFirstTrack] = block.firstTrack;
    bytes[kLastTrack] = block.lastTrack;
    bytes[kFlags] = block.flags.toByte();
    std::copy(summary.packCounts.begin(), summary.packCounts.end(), bytes.begin() + kPackCounts);
    std::copy(summary.lastSequences.begin(), summary.lastSequences.end(), bytes.begin() + kLastSequences);
    std::copy(summary.languages.begin(), summary.languages.end(), bytes.begin() + kLanguages);
    std::vector<CdTextPack> packs(kSizeInfoPacks);
    for (size_t element = 0; element < kSizeInfoPacks; ++element) {
        packs[element].type = pack_type::kSizeInfo;
        packs[element].track = static_cast<uint8_t>(element);
        packs[element].block = blockNumber;
        std::copy_n(bytes.begin() + element * kPackDataBytes, kPackDataBytes, packs[element].data.begin());
    }
    return packs;
}

} // namespace cueify
