#include "WaveHeader.h"

#include "LittleEndian.h"

#include <discgeometry/DiscGeometry.h>

#include <stdexcept>

namespace mkdisc {
namespace {

constexpr uint16_t kPcmFormat = 1;
constexpr uint16_t kChannels = 2;
using discgeometry::kSampleRate;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;

} // namespace

std::array<uint8_t, 44> waveHeader(uint64_t dataBytes)
{
    if (dataBytes > UINT32_MAX - 36)
        throw std::invalid_argument("audio too long for a WAVE file");
    std::array<uint8_t, 44> header{};
    uint8_t* out = header.data();
    putTag(out, "RIFF");
    putLittleEndian32(out + 4, static_cast<uint32_t>(36 + dataBytes));
    putTag(out + 8, "WAVE");
    putTag(out + 12, "fmt ");
    putLittleEndian32(out + 16, 16);
    putLittleEndian16(out + 20, kPcmFormat);
    putLittleEndian16(out + 22, kChannels);
    putLittleEndian32(out + 24, kSampleRate);
    putLittleEndian32(out + 28, kSampleRate * kBlockAlign);
    putLittleEndian16(out + 32, kBlockAlign);
    putLittleEndian16(out + 34, kBitsPerSample);
    putTag(out + 36, "data");
    putLittleEndian32(out + 40, static_cast<uint32_t>(dataBytes));
    return header;
}

} // namespace mkdisc
