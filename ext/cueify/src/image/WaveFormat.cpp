#include "image/WaveFormat.h"

#include "core/Failure.h"
#include "image/ByteFields.h"
#include "image/CdAudioFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace cueify {
namespace {

constexpr uint64_t kRiffHeaderBytes = 12;
constexpr uint64_t kChunkHeaderBytes = 8;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kPlainFormatBytes = 16;
constexpr uint32_t kExtensibleFormatBytes = 40;

// The subformat GUID of WAVE_FORMAT_EXTENSIBLE after its first two bytes, which hold the
// format tag the subformat stands for.
constexpr std::array<unsigned char, 14> kSubformatGuidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct ChunkHeader
{
    std::array<char, 4> id{};
    uint32_t size = 0;
};

bool isId(const std::array<char, 4>& id, const char* expected)
{
    return std::memcmp(id.data(), expected, id.size()) == 0;
}

template <size_t N> std::array<unsigned char, N> readBytes(const FileDescriptor& file, uint64_t offset)
{
    std::array<unsigned char, N> bytes{};
    if (!file.readExact(offset, bytes.data(), N))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "WAVE file ends inside its header");
    return bytes;
}

ChunkHeader readChunkHeader(const FileDescriptor& file, uint64_t offset)
{
    const auto bytes = readBytes<kChunkHeaderBytes>(file, offset);
    ChunkHeader header;
    std::memcpy(header.id.data(), bytes.data(), 4);
    header.size = littleEndian32(bytes.data() + 4);
    return header;
}

// The format tag and sample size an extensible format chunk stands for.
void readSubformat(const std::array<unsigned char, kExtensibleFormatBytes>& fmt, uint16_t& tag,
                   uint32_t& bits)
{
    if (!std::equal(kSubformatGuidTail.begin(), kSubformatGuidTail.end(), &fmt[26]))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not PCM (unknown WAVE subformat)");
    tag = littleEndian16(&fmt[24]);
    const uint16_t validBits = littleEndian16(&fmt[18]);
    if (validBits != 0 && validBits < bits)
        bits = validBits;
}

void checkCdAudioFormat(const FileDescriptor& file, uint64_t chunkData, uint32_t chunkSize)
{
    if (chunkSize < kPlainFormatBytes)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "WAVE format chunk too short");
    std::array<unsigned char, kExtensibleFormatBytes> fmt{};
    if (!file.readExact(chunkData, fmt.data(), std::min(chunkSize, kExtensibleFormatBytes)))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "WAVE file ends inside its header");
    uint16_t tag = littleEndian16(&fmt[0]);
    uint32_t bits = littleEndian16(&fmt[14]);
    if (tag == kFormatExtensible) {
        if (chunkSize < kExtensibleFormatBytes)
            throw Failure(CUEIFY_ERR_NO_DEVICE, "WAVE format chunk too short");
        readSubformat(fmt, tag, bits);
    }
    if (tag != kFormatPcm)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not PCM (WAVE format " + std::to_string(tag) + ")");
    requireCdAudio({littleEndian32(&fmt[4]), bits, littleEndian16(&fmt[2])});
    if (littleEndian16(&fmt[12]) != kCdBytesPerSampleFrame)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "WAVE format chunk gives " +
                                                std::to_string(littleEndian16(&fmt[12])) +
                                                " bytes a sample frame");
}

} // namespace

bool isRiffWave(const FileDescriptor& file) noexcept
{
    std::array<unsigned char, kRiffHeaderBytes> bytes{};
    return file.readExact(0, bytes.data(), bytes.size()) && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
}

PcmData findWaveSamples(const FileDescriptor& file)
{
    if (!isRiffWave(file))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not a RIFF WAVE file");
    const uint64_t fileBytes = file.size();
    bool formatChecked = false;
    for (uint64_t offset = kRiffHeaderBytes; offset + kChunkHeaderBytes <= fileBytes;) {
        const ChunkHeader chunk = readChunkHeader(file, offset);
        const uint64_t data = offset + kChunkHeaderBytes;
        if (isId(chunk.id, "fmt ")) {
            checkCdAudioFormat(file, data, chunk.size);
            formatChecked = true;
        } else if (isId(chunk.id, "data")) {
            if (!formatChecked)
                throw Failure(CUEIFY_ERR_NO_DEVICE, "WAVE data chunk before its format chunk");
            const uint64_t held = std::min<uint64_t>(chunk.size, fileBytes - data);
            return PcmData{data, held - held % kCdBytesPerSampleFrame, SampleOrder::AsStored};
        }
        offset = data + chunk.size + (chunk.size & 1u); // chunks are padded to even sizes
    }
    throw Failure(CUEIFY_ERR_NO_DEVICE, "WAVE file without a data chunk");
}

} // namespace cueify
