// What a drive does over time: it delivers sectors through its read offset and its faults, and takes
// the time its speed model gives each command.
#include "Drive.h"

#include <unistd.h>

#include <cstring>
#include <tuple>

namespace driveemulator {

constexpr int64_t kSectorBytes = mkdisc::kRawSectorBytes; // signed: a read offset reaches before the disc

// Audio as a drive whose audio starts readOffset samples late delivers it: at each place what the
// disc holds that much earlier, silence outside the disc's audio tracks.
mkdisc::Sector Drive::audioSector(int64_t lba) const
{
    const int64_t first = lba * kSectorBytes - readOffset * int64_t{discgeometry::kBytesPerSample},
                  end = first + kSectorBytes;
    mkdisc::Sector shifted{};
    for (int64_t source = (first >= 0 ? first : first - kSectorBytes + 1) / kSectorBytes;
         source * kSectorBytes < end; ++source) {
        const Track* track = trackAt(source);
        const int64_t from = std::max(first, source * kSectorBytes),
                      to = std::min(end, (source + 1) * kSectorBytes);
        if (track && track->mode == TrackMode::Audio)
            std::memcpy(shifted.data() + (from - first),
                        sector(source).data() + (from - source * kSectorBytes),
                        static_cast<size_t>(to - from));
    }
    return shifted;
}

// The sector as the drive delivers it into bytes: audio shifted by the read offset, faults applied.
std::optional<Sense> Drive::readSector(int64_t lba)
{
    const Track* track = trackAt(lba);
    if (track == nullptr)
        return kOutOfRange;
    if (delayUs > 0)
        ::usleep(delayUs);
    const auto at = static_cast<uint32_t>(lba);
    const auto faulty = [at](std::map<uint32_t, int>& faults) { // this read has the fault, one less left
        const auto fault = faults.find(at);
        if (fault == faults.end() || fault->second == 0)
            return false;
        fault->second -= fault->second > 0 ? 1 : 0;
        return true;
    };
    const bool reread = rereadErrors.count(at) != 0 && !readOnce.insert(at).second;
    if (faulty(mediumErrors) || (reread && faulty(rereadErrors)))
        return sense(3, 0x11, 0); // unrecovered read error
    altered.clear();
    bytes = track->mode == TrackMode::Audio ? audioSector(lba) : sector(lba);
    // Bytes in the middle of the sector come back changed; C2 pointers mark them where the drive knows.
    const auto alter = [this](uint8_t mask, bool known) {
        for (uint16_t offset = 1000; offset < 1004; ++offset) {
            bytes[offset] ^= mask;
            if (known)
                altered.push_back(offset);
        }
    };
    const bool isUnstable = unstable.count(at) != 0, isNoisy = faulty(noisy);
    const unsigned reads = isUnstable || isNoisy ? ++unstableReads[lba] : 0;
    if ((isUnstable && reads % 2 == 0) || isNoisy)
        alter(isNoisy ? static_cast<uint8_t>(reads) : uint8_t{0xFF}, !isNoisy);
    if (faulty(c2Errors))
        alter(0xFF, true); // the same bytes every time, so that two altered reads agree
    return std::nullopt;
}

// Counts a command that delivered blocks sectors, and takes the time the speed model gives it,
// counted from the command's arrival so that building the reply overlaps it.
void Drive::serve(bool readCd, uint32_t blocks)
{
    ++counters.commands;
    counters.readCdCommands += readCd ? 1 : 0;
    const uint64_t cost = commandUs + uint64_t{sectorUs} * blocks;
    if (cost == 0)
        return;
    counters.modelMicroseconds += cost;
    if (std::tie(arrival.tv_sec, arrival.tv_nsec) > std::tie(busyUntil.tv_sec, busyUntil.tv_nsec))
        busyUntil = arrival;
    const uint64_t nanoseconds = uint64_t(busyUntil.tv_nsec) + cost * 1000;
    busyUntil.tv_sec += static_cast<time_t>(nanoseconds / 1000000000);
    busyUntil.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &busyUntil, nullptr) == EINTR) {
    }
}

} // namespace driveemulator
