// The 44-byte RIFF "CDDA" file that stands for one audio track, and the disc serial number it carries.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace mkdisc {

struct CdaTrack
{
    uint16_t track = 0;
    uint32_t serial = 0;
    uint32_t startLba = 0;
    uint32_t lengthSectors = 0;
};

// The serial number that an audio disc's .cda files carry. startAddresses are the absolute
// start addresses (frames, 150 = 00:02:00) of the audio tracks only; for one or two tracks the
// audio lead-out's address is packed instead.
uint32_t cdaSerialNumber(const std::vector<uint32_t>& audioTrackStartFrames, uint32_t audioLeadOutFrame);

std::array<uint8_t, 44> encodeCdaFile(const CdaTrack& track);

// Writes TrackNN.cda (NN two digits, from 01) into directory. Throws std::runtime_error on failure.
std::filesystem::path writeCdaFile(const std::filesystem::path& directory, const CdaTrack& track);

} // namespace mkdisc
