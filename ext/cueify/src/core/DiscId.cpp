#include "core/DiscId.h"

extern "C" {
#include <libavutil/base64.h>
#include <libavutil/mem.h>
#include <libavutil/sha.h>
}

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace cueify {
namespace {

constexpr size_t kShaBytes = 20;
constexpr size_t kAddresses = 100; // the lead-out, then tracks 1 to 99

uint32_t digitSum(uint32_t number)
{
    uint32_t sum = 0;
    for (; number > 0; number /= 10)
        sum += number % 10;
    return sum;
}

uint32_t secondsOf(AbsoluteFrame frame)
{
    return frame.value / kFramesPerSecond;
}

std::string hashedText(const IdDisc& disc)
{
    std::array<uint32_t, kAddresses> addresses{};
    addresses[0] = disc.leadOut.value;
    for (const IdTrack& track : disc.tracks) {
        if (track.number >= 1 && track.number < kAddresses)
            addresses[track.number] = track.start.value;
    }
    const uint8_t first = disc.tracks.empty() ? 0 : disc.tracks.front().number;
    const uint8_t last = disc.tracks.empty() ? 0 : disc.tracks.back().number;
    char text[2 + 2 + 8 * kAddresses + 1];
    int written = std::snprintf(text, sizeof text, "%02X%02X", first, last);
    for (const uint32_t address : addresses)
        written += std::snprintf(text + written, sizeof text - static_cast<size_t>(written), "%08X", address);
    return std::string(text, static_cast<size_t>(written));
}

struct ShaFree
{
    void operator()(AVSHA* sha) const noexcept { av_free(sha); }
};

std::array<uint8_t, kShaBytes> sha1(const std::string& text)
{
    const std::unique_ptr<AVSHA, ShaFree> sha(av_sha_alloc());
    if (!sha)
        throw std::bad_alloc();
    av_sha_init(sha.get(), 160);
    av_sha_update(sha.get(), reinterpret_cast<const uint8_t*>(text.data()), text.size());
    std::array<uint8_t, kShaBytes> digest{};
    av_sha_final(sha.get(), digest.data());
    return digest;
}

} // namespace

uint32_t freedbId(const IdDisc& disc)
{
    if (disc.tracks.empty())
        return 0;
    uint32_t sum = 0;
    for (const IdTrack& track : disc.tracks)
        sum += digitSum(secondsOf(track.start));
    const uint32_t length = secondsOf(disc.leadOut) - secondsOf(disc.tracks.front().start);
    return (sum % 255) << 24 | (length & 0xFFFF) << 8 | static_cast<uint32_t>(disc.tracks.size() & 0xFF);
}

IdDisc withoutTrailingData(const IdDisc& disc)
{
    IdDisc audio = disc;
    while (audio.tracks.size() > 1 && audio.tracks.back().data) {
        const uint32_t dataStart = audio.tracks.back().start.value;
        audio.leadOut = AbsoluteFrame{dataStart > kSessionGapFrames ? dataStart - kSessionGapFrames : 0};
        audio.tracks.pop_back();
    }
    return audio;
}

std::string musicbrainzId(const IdDisc& disc)
{
    const std::array<uint8_t, kShaBytes> digest = sha1(hashedText(disc));
    char encoded[AV_BASE64_SIZE(kShaBytes)];
    av_base64_encode(encoded, sizeof encoded, digest.data(), kShaBytes);
    std::string id(encoded);
    std::replace(id.begin(), id.end(), '+', '.');
    std::replace(id.begin(), id.end(), '/', '_');
    std::replace(id.begin(), id.end(), '=', '-');
    return id;
}

} // namespace cueify
