// The checksums that verify a ripped track: AccurateRip's v1 and v2 CRCs, its frame-450 CRC
// (which finds offsets), and the plain CRC-32 of the track's bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vantorcd {

// Fed a track's PCM in order, from its INDEX 01 on. Sample positions count from 1; the disc's
// first audio track leaves out its first 2939 samples and its last audio track its last 2940,
// so that rips at any read offset within that margin agree.
class AccurateRipCrc
{
public:
    AccurateRipCrc(uint64_t trackSamples, bool firstAudioTrack, bool lastAudioTrack) noexcept;

    // bytes holds whole samples: 16-bit little-endian left, then right.
    void add(const uint8_t* pcm, size_t bytes) noexcept;

    uint32_t v1() const noexcept { return m_v1; }
    uint32_t v2() const noexcept { return m_v1 + m_v2High; }
    uint32_t frame450() const noexcept { return m_frame450; }
    uint32_t crc32() const noexcept { return m_crc32; }

private:
    // Positions from and to, both included, of the samples starting at pcm, whose first is at first.
    void addKept(const uint8_t* pcm, uint64_t first, uint64_t from, uint64_t to) noexcept;
    void addFrame450(const uint8_t* pcm, uint64_t first, uint64_t from, uint64_t to) noexcept;

    uint64_t m_firstKept;
    uint64_t m_lastKept;
    uint64_t m_position = 0; // of the last sample added
    uint32_t m_v1 = 0;
    uint32_t m_v2High = 0;
    uint32_t m_frame450 = 0;
    uint32_t m_crc32 = 0; // as zlib keeps it: inverted before and after
};

} // namespace vantorcd
