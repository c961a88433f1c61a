// One emulated drive: what EMULATED_DRIVES says of it, its disc, and what it has done; its parts
// are defined by concern in the files named below.
#pragma once

#include "DriveCounters.h"
#include "Mmc.h"

#include <cerrno>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace driveemulator {

using mkdisc::TrackMode;
constexpr int kEveryRead = -1;

inline int fail(int error)
{
    return errno = error, -1;
}

struct Track
{
    uint8_t number, session, control; // control: the Q sub-channel's CONTROL nibble
    TrackMode mode;
    uint32_t startLba, index2Lba; // index2Lba: where INDEX 02 starts, 0 for none

    uint8_t indexAt(int64_t lba) const { return lba < startLba ? 0 : index2Lba && lba >= index2Lba ? 2 : 1; }
};

struct Session
{
    uint8_t number, firstTrack, lastTrack, type; // type: 0x00 CD-DA or CD-ROM, 0x20 CD-ROM XA
    uint32_t leadOutLba;
};

// Callers hold its lock for a whole command, as a drive serves one at a time.
struct Drive
{
    // Its behaviour words (README.md) and its disc
    std::string path;
    unsigned delayUs = 0, commandUs = 0, sectorUs = 0, maxSectorsKb = 120;
    // LBA to faulty reads left, or kEveryRead
    std::map<uint32_t, int> mediumErrors, rereadErrors, noisy, c2Errors;
    std::set<uint32_t> unstable;
    bool bcdToc = false, noFullToc = false, olderToc = false, noC2 = false, noSpeed = false;
    int readOffset = 0;
    std::string mcn, cdTextFile, countersFile; // no CD-Text file: READ TOC format 5 is refused
    std::map<uint8_t, std::string> isrcs;

    mkdisc::DiscDescription disc;
    std::vector<Track> tracks; // none: the drive is empty
    std::vector<Session> sessions;

    // What it has done
    std::mutex mutex;
    DriveCounters counters;
    std::map<int64_t, unsigned> unstableReads;
    std::set<uint32_t> readOnce;     // the reread-error sectors read cleanly once
    timespec arrival{}, busyUntil{}; // sleeping to busyUntil absorbs each sleep's overshoot
    mkdisc::Sector bytes{};          // the last sector read
    std::vector<uint16_t> altered;   // its bytes that differ from the disc's, for C2 error pointers

    const Track& track(uint8_t number) const { return tracks[number - 1u]; }
    mkdisc::Sector sector(int64_t lba) const { return mkdisc::sectorAt(disc, static_cast<uint32_t>(lba)); }
    uint32_t lastLeadOutLba() const { return sessions.back().leadOutLba; }

    // DriveWords.cpp: its words and its disc
    bool parseBehaviour(const std::string& word);
    void layOutDisc();
    const Track* trackAt(int64_t lba) const;
    // DriveState.cpp: its faults and its time
    mkdisc::Sector audioSector(int64_t lba) const;
    std::optional<Sense> readSector(int64_t lba);
    void serve(bool readCd, uint32_t blocks);
    // MmcCommands.cpp: its answers to MMC commands
    Reply send(const uint8_t* cdb);
    Reply readToc(const uint8_t* cdb);
    Reply readSubChannel(const uint8_t* cdb);
    Reply readCd(const uint8_t* cdb);
    Reply modeSense(const uint8_t* cdb);
    Reply setCdSpeed(const uint8_t* cdb);
    // SrDriver.cpp: the sr driver's ioctls
    int ioctl(unsigned long request, void* argument);
};

// The drives EMULATED_DRIVES lists, their discs laid out; std::invalid_argument for a description
// the emulator cannot read (DriveWords.cpp).
std::vector<std::unique_ptr<Drive>> drivesOf(const std::string& list);

} // namespace driveemulator
