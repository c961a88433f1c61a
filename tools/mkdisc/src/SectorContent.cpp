#include "SectorContent.h"

#include "LittleEndian.h"
#include "Msf.h"

#include <cmath>

namespace mkdisc {
namespace {

using discgeometry::kSampleRate;
constexpr double kTrackAmplitude = 8000; // about -12 dBFS
constexpr double kPregapAmplitude = 800; // 20 dB quieter
constexpr uint8_t kPregapMark = 0x80;

// An integer frequency keeps the phase exact: (hz * n) mod rate is computed without rounding.
int16_t toneSample(uint32_t hz, uint64_t sampleIndex, double amplitude)
{
    constexpr double kTwoPi = 6.283185307179586;
    const double cycle = static_cast<double>(hz * sampleIndex % kSampleRate) / kSampleRate;
    return static_cast<int16_t>(std::lround(amplitude * std::sin(kTwoPi * cycle)));
}

// Replaces the low byte of the sample at a byte offset, a change of at most -42 dBFS.
void stampLowByte(Sector& sector, size_t offset, uint8_t value)
{
    sector[offset] = value;
}

// Audio: a sine per channel whose pitch rises with the track number (left 200 + 100 * track Hz,
// right a major third above), continuous across sectors. The low bytes of the first two sample
// pairs carry the sector's index in its part and the track number, so no two sectors are equal.
Sector audioSector(uint8_t trackNumber, uint32_t indexInPart, bool pregap)
{
    const uint32_t leftHz = 200 + 100u * trackNumber;
    const uint32_t rightHz = leftHz * 5 / 4;
    const double amplitude = pregap ? kPregapAmplitude : kTrackAmplitude;
    Sector sector{};
    for (uint32_t frame = 0; frame < discgeometry::kSamplesPerSector; ++frame) {
        const uint64_t n = uint64_t{indexInPart} * discgeometry::kSamplesPerSector + frame;
        putLittleEndian16(&sector[size_t{frame} * 4],
                          static_cast<uint16_t>(toneSample(leftHz, n, amplitude)));
        putLittleEndian16(&sector[size_t{frame} * 4 + 2],
                          static_cast<uint16_t>(toneSample(rightHz, n, amplitude)));
    }
    stampLowByte(sector, 0, static_cast<uint8_t>(indexInPart));
    stampLowByte(sector, 2, static_cast<uint8_t>(indexInPart >> 8));
    stampLowByte(sector, 4, static_cast<uint8_t>(indexInPart >> 16));
    stampLowByte(sector, 6, static_cast<uint8_t>(trackNumber | (pregap ? kPregapMark : 0)));
    return sector;
}

// Data: sync pattern, BCD address, mode byte, the track's byte at offset 16, then a payload
// that depends on the address. EDC and ECC are not computed: the bytes after the user data
// are payload like the rest, which no reader of these images checks.
Sector dataSector(TrackMode mode, uint8_t modeByte16, uint32_t lba)
{
    Sector sector{};
    for (size_t i = 1; i <= 10; ++i)
        sector[i] = 0xFF;
    const Msf address = toMsf(lba + kLeadInFrames);
    sector[12] = toBcd(address.minutes);
    sector[13] = toBcd(address.seconds);
    sector[14] = toBcd(address.frames);
    sector[15] = mode == TrackMode::Mode1Raw ? 1 : 2;
    sector[16] = modeByte16;
    for (size_t i = 17; i < sector.size(); ++i)
        sector[i] = static_cast<uint8_t>(i + uint64_t{lba} * 7);
    return sector;
}

} // namespace

Sector sectorOfTrack(const TrackPlacement& track, uint32_t lba)
{
    if (lba < track.storedPregapLba)
        return Sector{};
    if (track.description.mode != TrackMode::Audio)
        return dataSector(track.description.mode, track.description.dataModeByte, lba);
    if (lba < track.startLba)
        return audioSector(track.number, lba - track.storedPregapLba, true);
    return audioSector(track.number, lba - track.startLba, false);
}

} // namespace mkdisc
