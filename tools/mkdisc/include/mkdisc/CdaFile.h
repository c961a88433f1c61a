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

// The serial number that an audio disc's .cda files carry. audioTrackStartFrames are the absolute
// start addresses (frames, 150 = 00:02:00) of the audio tracks only, whose packed MSF values are
// summed with 32-bit wrap-around; for one or two tracks the audio lead-out's address (that of the
// session holding the last audio track) is packed instead. Packing: minutes << 16 | seconds << 8 | frames.
uint32_t cdaSerialNumber(const std::vector<uint32_t>& audioTrackStartFrames, uint32_t audioLeadOutFrame);

// The file's bytes; the start MSF is the absolute address (startLba + 150), the length MSF the
// length in sectors, each stored as frames, seconds, minutes, 0.
std::array<uint8_t, 44> encodeCdaFile(const CdaTrack& track);

// Writes TrackNN.cda (NN two digits, from 01) into directory. Throws std::runtime_error on failure.
std::filesystem::path writeCdaFile(const std::filesystem::path& directory, const CdaTrack& track);

} // namespace mkdisc
