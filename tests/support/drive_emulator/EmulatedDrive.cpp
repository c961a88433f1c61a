#include "EmulatedDrive.h"

#include <cerrno>
#include <utility>

#include <unistd.h>

namespace driveemulator {
namespace {

constexpr uint8_t kBecomingReady = 0x01;
// Bytes of an unstable sector that come back inverted on every second read: samples in the middle
// of an audio sector, user data in a data sector.
constexpr uint16_t kUnstableFirstByte = 1000, kUnstableByteCount = 4;

// Bytes in the middle of the sector come back changed, and the C2 error pointers mark them.
void alter(SectorRead& read, uint8_t mask)
{
    for (uint16_t offset = kUnstableFirstByte; offset < kUnstableFirstByte + kUnstableByteCount; ++offset) {
        read.bytes[offset] ^= mask;
        read.alteredOffsets.push_back(offset);
    }
}

} // namespace

EmulatedDrive::EmulatedDrive(DriveConfig config) : m_config(std::move(config))
{
    if (m_config.disc)
        m_disc.emplace(*m_config.disc);
}

std::optional<Sense> EmulatedDrive::mediumState()
{
    if (!m_disc)
        return Sense::noMedium();
    if (m_notReadyAnswers < m_config.readyAfter) {
        ++m_notReadyAnswers;
        return Sense::notReady(kBecomingReady);
    }
    return std::nullopt;
}

std::optional<Sense> EmulatedDrive::readSector(int64_t lba, SectorRead& read)
{
    const DiscTrack* track = m_disc->trackAt(lba);
    if (track == nullptr)
        return Sense::lbaOutOfRange();
    if (m_config.delayPerSectorMicroseconds > 0)
        ::usleep(m_config.delayPerSectorMicroseconds);
    m_lastReadLba = lba;
    const auto error = m_config.mediumErrors.find(static_cast<uint32_t>(lba));
    if (error != m_config.mediumErrors.end() && error->second != 0) {
        error->second -= error->second > 0 ? 1 : 0;
        return Sense::mediumError(static_cast<uint32_t>(lba));
    }
    read.alteredOffsets.clear();
    read.bytes = track->mode == mkdisc::TrackMode::Audio
                     ? m_disc->audioSector(lba, m_config.readOffsetSamples)
                     : *m_disc->sector(lba);
    const bool unstable = m_config.unstableSectors.count(static_cast<uint32_t>(lba)) != 0;
    const auto noise = m_config.noisySectors.find(static_cast<uint32_t>(lba));
    const bool noisy = noise != m_config.noisySectors.end() && noise->second != 0;
    if (noisy && noise->second > 0)
        --noise->second;
    const unsigned reads = unstable || noisy ? ++m_unstableReads[lba] : 0;
    if ((unstable && reads % 2 == 0) || noisy)
        alter(read, noisy ? static_cast<uint8_t>(reads) : uint8_t{0xFF});
    return std::nullopt;
}

void EmulatedDrive::arrive() noexcept
{
    ::clock_gettime(CLOCK_MONOTONIC, &m_arrival);
}

void EmulatedDrive::serve(bool readCd, uint32_t blocks)
{
    ++m_counters.commands;
    m_counters.readCdCommands += readCd ? 1 : 0;
    m_counters.sectorsRead += blocks;
    const uint64_t cost = m_config.commandMicroseconds + uint64_t{m_config.modelSectorMicroseconds} * blocks;
    if (cost == 0)
        return;
    m_counters.modelMicroseconds += cost;
    const timespec now = m_arrival;
    if (now.tv_sec > m_busyUntil.tv_sec ||
        (now.tv_sec == m_busyUntil.tv_sec && now.tv_nsec > m_busyUntil.tv_nsec))
        m_busyUntil = now;
    const uint64_t nanoseconds = uint64_t(m_busyUntil.tv_nsec) + cost * 1000;
    m_busyUntil.tv_sec += static_cast<time_t>(nanoseconds / 1000000000);
    m_busyUntil.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &m_busyUntil, nullptr) == EINTR) {
    }
}

void EmulatedDrive::countSetSpeed(uint16_t readSpeedKbs) noexcept
{
    constexpr size_t kKept = sizeof m_counters.readSpeedsKbs / sizeof m_counters.readSpeedsKbs[0];
    if (m_counters.setSpeedCommands < kKept)
        m_counters.readSpeedsKbs[m_counters.setSpeedCommands] = readSpeedKbs;
    ++m_counters.setSpeedCommands;
}

Sense EmulatedDrive::takeLastSense()
{
    return std::exchange(m_lastSense, Sense{});
}

std::optional<Sense> EmulatedDrive::remember(std::optional<Sense> sense)
{
    if (sense)
        m_lastSense = *sense;
    return sense;
}

} // namespace driveemulator
