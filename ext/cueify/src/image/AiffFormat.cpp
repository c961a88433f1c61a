#include "image/AiffFormat.h"

#include "core/Failure.h"
#include "image/ByteFields.h"
#include "image/CdAudioFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace cueify {
namespace {

constexpr uint64_t kFormHeaderBytes = 12;
constexpr uint64_t kChunkHeaderBytes = 8;
constexpr uint32_t kAiffCommonBytes = 18;
constexpr uint32_t kAifcCommonBytes = 22;
constexpr uint64_t kSoundHeaderBytes = 8; // offset and block size before the samples

struct Chunk
{
    uint64_t data = 0; // offset of its first byte after the header
    uint32_t size = 0;
};

struct Common
{
    SampleFormat format;
    uint32_t sampleFrames = 0;
    SampleOrder order = SampleOrder::Swapped;
};

template <size_t N> std::array<unsigned char, N> readBytes(const FileDescriptor& file, uint64_t offset)
{
    std::array<unsigned char, N> bytes{};
    if (!file.readExact(offset, bytes.data(), N))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "AIFF file ends inside its header");
    return bytes;
}

bool isAifc(const FileDescriptor& file)
{
    return std::memcmp(readBytes<kFormHeaderBytes>(file, 0).data() + 8, "AIFC", 4) == 0;
}

// The sample rate, stored as an 80-bit IEEE 754 extended number, rounded to whole hertz.
uint32_t sampleRateOf(const unsigned char* extended)
{
    const int exponent = (bigEndian16(extended) & 0x7FFF) - 16383 - 63;
    const uint64_t mantissa = uint64_t{bigEndian32(extended + 2)} << 32 | bigEndian32(extended + 6);
    const double rate = std::ldexp(static_cast<double>(mantissa), exponent);
    return rate > 0 && rate < 4e9 ? static_cast<uint32_t>(std::lround(rate)) : 0;
}

SampleOrder orderOf(const unsigned char* compression)
{
    const std::string type(reinterpret_cast<const char*>(compression), 4);
    if (type == "NONE" || type == "twos")
        return SampleOrder::Swapped;
    if (type == "sowt")
        return SampleOrder::AsStored;
    throw Failure(CUEIFY_ERR_NO_DEVICE, "not PCM (AIFC compression '" + type + "')");
}

Common readCommon(const FileDescriptor& file, const Chunk& chunk, bool aifc)
{
    if (chunk.size < (aifc ? kAifcCommonBytes : kAiffCommonBytes))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "AIFF common chunk too short");
    const auto comm = readBytes<kAifcCommonBytes>(file, chunk.data);
    Common common;
    common.order = aifc ? orderOf(&comm[18]) : SampleOrder::Swapped;
    common.format = {sampleRateOf(&comm[8]), bigEndian16(&comm[6]), bigEndian16(&comm[0])};
    common.sampleFrames = bigEndian32(&comm[2]);
    requireCdAudio(common.format);
    return common;
}

PcmData soundData(const FileDescriptor& file, const Chunk& chunk, const Common& common, uint64_t fileBytes)
{
    if (chunk.size < kSoundHeaderBytes)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "AIFF sound chunk too short");
    const uint64_t start =
        chunk.data + kSoundHeaderBytes + bigEndian32(readBytes<4>(file, chunk.data).data());
    const uint64_t chunkEnd = std::min<uint64_t>(chunk.data + chunk.size, fileBytes);
    const uint64_t held = chunkEnd > start ? chunkEnd - start : 0;
    const uint64_t frames = std::min<uint64_t>(common.sampleFrames, held / kCdBytesPerSampleFrame);
    return PcmData{start, frames * kCdBytesPerSampleFrame, common.order};
}

} // namespace

bool isAiff(const FileDescriptor& file) noexcept
{
    std::array<unsigned char, kFormHeaderBytes> bytes{};
    return file.readExact(0, bytes.data(), bytes.size()) && std::memcmp(bytes.data(), "FORM", 4) == 0 &&
           (std::memcmp(bytes.data() + 8, "AIFF", 4) == 0 || std::memcmp(bytes.data() + 8, "AIFC", 4) == 0);
}

PcmData findAiffSamples(const FileDescriptor& file)
{
    if (!isAiff(file))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not an AIFF file");
    const uint64_t fileBytes = file.size();
    std::optional<Chunk> common, sound;
    for (uint64_t offset = kFormHeaderBytes; offset + kChunkHeaderBytes <= fileBytes;) {
        const auto header = readBytes<kChunkHeaderBytes>(file, offset);
        const Chunk chunk{offset + kChunkHeaderBytes, bigEndian32(header.data() + 4)};
        if (std::memcmp(header.data(), "COMM", 4) == 0)
            common = chunk;
        else if (std::memcmp(header.data(), "SSND", 4) == 0)
            sound = chunk;
        offset = chunk.data + chunk.size + (chunk.size & 1u); // chunks are padded to even sizes
    }
    if (!common)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "AIFF file without a common chunk");
    if (!sound)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "AIFF file without a sound chunk");
    return soundData(file, *sound, readCommon(file, *common, isAifc(file)), fileBytes);
}

} // namespace cueify
