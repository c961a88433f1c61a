// Sector addresses and counts, each named after the origin it counts from, and the one
// place where they are converted into each other and into minutes, seconds and frames.
#pragma once

#include <cueify/types.h>

#include <cstdint>

namespace cueify {

constexpr uint32_t kFramesPerSecond = 75;
constexpr uint32_t kFramesPerMinute = 60 * kFramesPerSecond;
constexpr uint32_t kRawSectorBytes = 2352;
constexpr uint32_t kC2PointerBytes = kRawSectorBytes / 8; // one bit per byte of a raw sector

// Absolute frames before logical block 0: the pregap of track 1 on every disc.
constexpr uint32_t kLeadInFrames = 150;

// Frames from one session's lead-out to the next session's first track on a pressed disc: the
// lead-out (6,750), the next lead-in (4,500) and the first pregap (150).
constexpr uint32_t kSessionGapFrames = 11400;

// A disc address counted in frames from the start of the disc, including the 150 frames
// of the first pregap: track 1 of a normal disc starts at absolute frame 150 (00:02:00).
struct AbsoluteFrame
{
    uint32_t value = 0;
};

// A logical block address: sector 0 is the one at 00:02:00.
struct Lba
{
    uint32_t value = 0;
};

// A position in a data file, in whole raw sectors from the file's first audio or data byte.
struct FileSector
{
    uint64_t value = 0;
};

// A duration or a distance between two addresses, in frames (one frame is one sector).
struct FrameCount
{
    uint32_t value = 0;
};

constexpr AbsoluteFrame toAbsolute(Lba lba) noexcept
{
    return AbsoluteFrame{lba.value + kLeadInFrames};
}

// Addresses inside the first pregap (below 00:02:00) have no logical block and map to 0.
constexpr Lba toLba(AbsoluteFrame frame) noexcept
{
    return Lba{frame.value < kLeadInFrames ? 0 : frame.value - kLeadInFrames};
}

// The distance from start to end; an end before the start gives 0.
constexpr FrameCount distance(AbsoluteFrame start, AbsoluteFrame end) noexcept
{
    return FrameCount{end.value > start.value ? end.value - start.value : 0};
}

// Byte offset of a sector from the first data byte of its file.
constexpr uint64_t byteOffsetOf(FileSector sector) noexcept
{
    return sector.value * kRawSectorBytes;
}

// Minutes, seconds and frames of a frame count; beyond 255:59:74 it saturates there.
cueify_msf_t toMsf(uint32_t frames) noexcept;

inline cueify_msf_t toMsf(AbsoluteFrame frame) noexcept
{
    return toMsf(frame.value);
}

inline cueify_msf_t toMsf(FrameCount count) noexcept
{
    return toMsf(count.value);
}

uint32_t framesOf(const cueify_msf_t& msf) noexcept;

} // namespace cueify
