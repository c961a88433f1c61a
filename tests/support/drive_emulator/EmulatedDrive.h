// One emulated drive: its disc, whether it is ready, and sector reads with the faults it is
// configured for. Callers hold its lock for a whole command, as a drive serves one at a time.
#pragma once

#include "DriveConfig.h"
#include "DriveCounters.h"
#include "EmulatedDisc.h"
#include "Sense.h"

#include <mutex>
#include <optional>

#include <ctime>

namespace driveemulator {

struct SectorRead
{
    mkdisc::Sector bytes{};
    std::vector<uint16_t> alteredOffsets; // bytes that differ from the disc's, for C2 error pointers
};

class EmulatedDrive
{
public:
    // Throws std::invalid_argument for a disc no disc image can describe.
    explicit EmulatedDrive(DriveConfig config);

    std::mutex& mutex() noexcept { return m_mutex; }
    const DriveConfig& config() const noexcept { return m_config; }
    const EmulatedDisc* disc() const noexcept { return m_disc ? &*m_disc : nullptr; }

    // Why a command that needs the disc fails now. Each NOT READY answer (to TEST UNIT READY or
    // any command that needs the disc) brings a drive that is becoming ready closer to ready.
    std::optional<Sense> mediumState();

    // The sector as the drive delivers it: audio shifted by the read offset, faults applied.
    std::optional<Sense> readSector(int64_t lba, SectorRead& read);

    // Where the head is, for READ SUB-CHANNEL's current position.
    int64_t lastReadLba() const noexcept { return m_lastReadLba; }

    // A command arrives: the speed model's time for it runs from here, so that building the reply
    // overlaps it as a drive's transfer overlaps its reading.
    void arrive() noexcept;
    // Counts a command that delivered blocks sectors, and takes the time the speed model gives it.
    void serve(bool readCd, uint32_t blocks);
    const DriveCounters& counters() const noexcept { return m_counters; }
    void countOpen() noexcept { ++m_counters.opens; }
    void countTocRead() noexcept { ++m_counters.tocReads; }
    // A SET CD SPEED command asking for a read speed in kB/s.
    void countSetSpeed(uint16_t readSpeedKbs) noexcept;

    // The sense of the last failed command, for REQUEST SENSE; reading it clears it.
    Sense takeLastSense();
    std::optional<Sense> remember(std::optional<Sense> sense);

private:
    std::mutex m_mutex;
    DriveConfig m_config;
    std::optional<EmulatedDisc> m_disc;
    unsigned m_notReadyAnswers = 0;
    std::map<uint32_t, unsigned> m_unstableReads;
    int64_t m_lastReadLba = 0;
    Sense m_lastSense;
    DriveCounters m_counters;
    // When the drive is done with the commands so far: sleeping to it absorbs each sleep's overshoot.
    timespec m_busyUntil{};
    timespec m_arrival{};
};

} // namespace driveemulator
