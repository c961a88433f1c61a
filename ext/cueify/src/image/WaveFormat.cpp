#include "image/WaveFormat.h"

#include "image/ImageError.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace cueify {
namespace {

constexpr uint64_t kRiffHeaderBytes = 12;
constexpr uint64_t kChunkHeaderBytes = 8;
constexpr uint16_t kFormatPcm = 1;

struct ChunkHeader
{
    std::array<char, 4> id{};
    uint32_t size = 0;
};

uint16_t littleEndian16(const unsigned char* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t littleEndian32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(littleEndian16(bytes)) | static_cast<uint32_t>(littleEndian16(bytes + 2))
                                                              << 16;
}

bool isId(const std::array<char, 4>& id, const char* expected)
{
    return std::memcmp(id.data(), expected, id.size()) == 0;
}

template <size_t N> std::array<unsigned char, N> readBytes(const FileDescriptor& file, uint64_t offset)
{
    std::array<unsigned char, N> bytes{};
    if (!file.readExact(offset, bytes.data(), N))
        throw ImageError("WAVE file ends inside its header");
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

void checkRiffWave(const FileDescriptor& file)
{
    const auto bytes = readBytes<kRiffHeaderBytes>(file, 0);
    if (std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw ImageError("not a RIFF WAVE file");
}

void checkCdAudioFormat(const FileDescriptor& file, uint64_t chunkData, uint32_t chunkSize)
{
    if (chunkSize < 16)
        throw ImageError("WAVE format chunk too short");
    const auto fmt = readBytes<16>(file, chunkData);
    const bool cdAudio = littleEndian16(&fmt[0]) == kFormatPcm && littleEndian16(&fmt[2]) == 2 &&
                         littleEndian32(&fmt[4]) == 44100 && littleEndian32(&fmt[8]) == 176400 &&
                         littleEndian16(&fmt[12]) == 4 && littleEndian16(&fmt[14]) == 16;
    if (!cdAudio)
        throw ImageError("WAVE file is not 16-bit stereo PCM at 44.1 kHz");
}

} // namespace

PcmData findCdAudioSamples(const FileDescriptor& file)
{
    checkRiffWave(file);
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
                throw ImageError("WAVE data chunk before its format chunk");
            return PcmData{data, std::min<uint64_t>(chunk.size, fileBytes - data)};
        }
        offset = data + chunk.size + (chunk.size & 1u); // chunks are padded to even sizes
    }
    throw ImageError("WAVE file without a data chunk");
}

} // namespace cueify
