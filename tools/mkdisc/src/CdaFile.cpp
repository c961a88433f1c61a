#include "mkdisc/CdaFile.h"

#include "LittleEndian.h"
#include "Msf.h"
#include "StagedFile.h"
#include "mkdisc/DiscWriter.h"

#include <cstdio>

namespace mkdisc {
namespace {

// The four bytes frames, seconds, minutes, 0 read as one little-endian number.
uint32_t packMsf(uint32_t frameCount) noexcept
{
    const Msf msf = toMsf(frameCount);
    return msf.minutes << 16 | msf.seconds << 8 | msf.frames;
}

std::string cdaFileName(uint16_t track)
{
    char name[32];
    std::snprintf(name, sizeof name, "Track%02u.cda", static_cast<unsigned>(track));
    return name;
}

} // namespace

uint32_t cdaSerialNumber(const std::vector<uint32_t>& audioTrackStartFrames, uint32_t audioLeadOutFrame)
{
    if (audioTrackStartFrames.size() < 3)
        return packMsf(audioLeadOutFrame);
    uint32_t serial = 0; // unsigned: the sum wraps at 32 bits
    for (uint32_t start : audioTrackStartFrames)
        serial += packMsf(start);
    return serial;
}

std::array<uint8_t, 44> encodeCdaFile(const CdaTrack& track)
{
    std::array<uint8_t, 44> file{};
    uint8_t* out = file.data();
    putTag(out, "RIFF");
    putLittleEndian32(out + 4, 36);
    putTag(out + 8, "CDDA");
    putTag(out + 12, "fmt ");
    putLittleEndian32(out + 16, 24);
    putLittleEndian16(out + 20, 1);
    putLittleEndian16(out + 22, track.track);
    putLittleEndian32(out + 24, track.serial);
    putLittleEndian32(out + 28, track.startLba);
    putLittleEndian32(out + 32, track.lengthSectors);
    putLittleEndian32(out + 36, packMsf(track.startLba + kLeadInFrames));
    putLittleEndian32(out + 40, packMsf(track.lengthSectors));
    return file;
}

std::filesystem::path writeCdaFile(const std::filesystem::path& directory, const CdaTrack& track)
{
    StagedFile file(directory / cdaFileName(track.track));
    file.write(encodeCdaFile(track));
    file.commit();
    return file.path();
}

} // namespace mkdisc
