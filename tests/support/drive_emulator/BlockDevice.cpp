#include "BlockDevice.h"

#include <cerrno>
#include <cstring>

namespace driveemulator {
namespace {

constexpr off_t kBlockSize = 2048;
constexpr size_t kUserDataOffset = 16;

} // namespace

ssize_t readBlocks(EmulatedDrive& drive, off_t position, void* buffer, size_t count)
{
    if (std::optional<Sense> state = drive.mediumState()) {
        errno = state->asc == 0x3A ? ENOMEDIUM : EIO;
        return -1;
    }
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    SectorRead read;
    while (done < count && position + static_cast<off_t>(done) < blockDeviceSize(drive)) {
        const off_t at = position + static_cast<off_t>(done);
        const DiscTrack* track = drive.disc()->trackAt(at / kBlockSize);
        if (track == nullptr || track->mode != mkdisc::TrackMode::Mode1Raw ||
            drive.readSector(at / kBlockSize, read)) {
            if (done > 0)
                break;
            errno = EIO;
            return -1;
        }
        const size_t within = static_cast<size_t>(at % kBlockSize);
        const size_t part = std::min(count - done, static_cast<size_t>(kBlockSize) - within);
        std::memcpy(out + done, read.bytes.data() + kUserDataOffset + within, part);
        done += part;
    }
    return static_cast<ssize_t>(done);
}

off_t blockDeviceSize(const EmulatedDrive& drive)
{
    return drive.disc() != nullptr ? off_t{drive.disc()->lastLeadOutLba()} * kBlockSize : 0;
}

} // namespace driveemulator
