#include "EmulatedDrive.h"

#include <cerrno>
#include <utility>

#include <unistd.h>

namespace driveemulator {
namespace {

constexpr uint8_t kBecomingReady = 0x01;
// Bytes of an unstable sector that come back inverted on every second read, and of a sector with C2
// errors on every failing read: samples in the middle of an audio sector, user data in a data sector.
constexpr uint16_t kUnstableFirstByte = 1000, kUnstableByteCount = 4;

// The same bytes every time, so that two altered reads agree.
void alter(SectorRead& read)
{
    for (uint16_t offset = kUnstableFirstByte; offset < kUnstableFirstByte + kUnstableByteCount; ++offset) {
        read.bytes[offset] ^= 0xFF;
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
    if (m_config.unstableSectors.count(static_cast<uint32_t>(lba)) != 0 && ++m_unstableReads[lba] % 2 == 0)
        alter(read);
    const auto c2Error = m_config.c2Errors.find(static_cast<uint32_t>(lba));
    if (c2Error != m_config.c2Errors.end() && c2Error->second != 0) {
        c2Error->second -= c2Error->second > 0 ? 1 : 0;
        alter(read);
    }
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
