// The geometry of an audio CD, in one place for every component: the size of a sector, the
// 75 sectors of a second, the first pregap before logical block 0, the gap between sessions,
// minutes:seconds:frames, and addresses typed by the origin they count from.
#pragma once

#include <cstddef>
#include <cstdint>

namespace discgeometry {

// A raw sector: 1/75 s of 16-bit stereo audio at 44.1 kHz, or a data sector with its header,
// EDC and ECC. std::size_t, so that sector counts multiply into byte counts without overflow.
inline constexpr std::size_t kRawSectorBytes = 2352;
inline constexpr std::size_t kBytesPerSample = 4; // one 16-bit stereo sample frame
inline constexpr uint32_t kSamplesPerSector = kRawSectorBytes / kBytesPerSample;
inline constexpr uint32_t kSampleRate = 44100;
inline constexpr std::size_t kC2PointerBytes = kRawSectorBytes / 8; // one bit per byte of a raw sector

inline constexpr uint32_t kFramesPerSecond = 75;
inline constexpr uint32_t kFramesPerMinute = 60 * kFramesPerSecond;

// Absolute frames before logical block 0: the pregap of track 1 on every disc (00:02:00).
inline constexpr uint32_t kLeadInFrames = 2 * kFramesPerSecond;

// Frames from one session's lead-out to the next session's first track on a pressed disc: the
// lead-out (6,750), the next lead-in (4,500) and the first pregap (150).
inline constexpr uint32_t kSessionGapFrames = 6750 + 4500 + kLeadInFrames;

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

// Bytes in a run of whole raw sectors.
constexpr uint64_t bytesOf(uint64_t sectors) noexcept
{
    return sectors * kRawSectorBytes;
}

// Minutes, seconds and frames: the unit of CUE sheets, TOCs and sector headers.
struct Msf
{
    uint32_t minutes = 0;
    uint32_t seconds = 0;
    uint32_t frames = 0;
};

constexpr Msf toMsf(uint32_t frameCount) noexcept
{
    return Msf{frameCount / kFramesPerMinute, frameCount % kFramesPerMinute / kFramesPerSecond,
               frameCount % kFramesPerSecond};
}

constexpr uint32_t framesOf(const Msf& msf) noexcept
{
    return msf.minutes * kFramesPerMinute + msf.seconds * kFramesPerSecond + msf.frames;
}

// Two decimal digits in one byte, as sector headers, TOCs and sub-channels hold addresses.
// value < 100.
constexpr uint8_t toBcd(uint32_t value) noexcept
{
    return static_cast<uint8_t>(value / 10 << 4 | value % 10);
}

} // namespace discgeometry
