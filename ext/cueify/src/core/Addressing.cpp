#include "core/Addressing.h"

namespace cueify {
namespace {

constexpr uint32_t kLargestMsfFrames = 255 * kFramesPerMinute + 59 * kFramesPerSecond + 74;

} // namespace

cueify_msf_t toMsf(uint32_t frames) noexcept
{
    if (frames > kLargestMsfFrames)
        frames = kLargestMsfFrames;
    cueify_msf_t msf;
    msf.min = static_cast<uint8_t>(frames / kFramesPerMinute);
    msf.sec = static_cast<uint8_t>(frames % kFramesPerMinute / kFramesPerSecond);
    msf.frm = static_cast<uint8_t>(frames % kFramesPerSecond);
    return msf;
}

uint32_t framesOf(const cueify_msf_t& msf) noexcept
{
    return msf.min * kFramesPerMinute + msf.sec * kFramesPerSecond + msf.frm;
}

} // namespace cueify
