// What each emulated drive holds and how it misbehaves, read from the environment.
//
// EMULATED_DRIVES lists drives separated by ";". A drive is a device path followed by words,
// separated by spaces: behaviour words, then the disc as the disc-image writer's track words
// ("audio:300,pregap=33", "mode1:500", "/" between sessions). A drive without track words is empty.
//   ready-after=N        NOT READY (becoming ready) to the first N commands that need the disc,
//                        TEST UNIT READY included
//   medium-error=LBA     MEDIUM ERROR 3/11/00 on every read of that sector; LBAxN: the first N reads only
//   unstable=LBA         every second read of that sector returns other data (and C2 pointers to it)
//   noisy=LBA            every read of that sector returns data unlike any other read's, without
//                        an error; LBAxN: the first N reads only
//   c2-error=LBA         every read of that sector returns the same other data, with C2 pointers to it
//                        where the drive offers them, as a drive that cannot correct it; LBAxN: the
//                        first N reads only
//   bcd-toc              the full TOC's numbers in BCD, as some old drives pass them through
//   no-full-toc          READ TOC format 2 refused with ILLEGAL REQUEST
//   older-toc            knows READ TOC's format only in byte 9, as before MMC: formats 1 and 2
//                        given in byte 2 are refused
//   no-c2                no C2 error pointers: not in the capabilities page, refused by READ CD
//   offset=SAMPLES       the drive's read offset: audio starts that many samples late (negative: early)
//   delay-us=N           each sector read takes N microseconds
//   mcn=DIGITS           the disc's media catalogue number, as READ SUB-CHANNEL gives it
//   isrc=TRACK:CODE      a track's ISRC, as READ SUB-CHANNEL gives it
//   cdtext=FILE          the CD-Text reply READ TOC format 5 gives: the file's bytes, header included
//   cmd-us=N, sector-us=N  the speed model: every command takes N microseconds, and every block a
//                        READ CD delivers N more (cmd-us=600,sector-us=256: a 52x drive on USB);
//                        both may share one word, separated by ","
//   max-sectors-kb=N     the kernel's transfer limit for the drive (BLKSECTGET), 120 unless given
//   no-speed             SET CD SPEED refused with ILLEGAL REQUEST, INVALID COMMAND OPERATION CODE
//   counters=FILE        at the process's exit, the drive's counters written to FILE, one
//                        "name value" line each (DriveCounters.h)
// Example: EMULATED_DRIVES="/dev/sr7 no-full-toc audio:300 / mode1:200;/dev/sr8"
#pragma once

#include "mkdisc/DiscDescription.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace driveemulator {

constexpr int kEveryRead = -1;

struct DriveConfig
{
    std::string path;
    std::optional<mkdisc::DiscDescription> disc; // none: the drive is empty
    unsigned readyAfter = 0;
    std::map<uint32_t, int> mediumErrors; // LBA to failing reads left, or kEveryRead
    std::set<uint32_t> unstableSectors;
    std::map<uint32_t, int> noisySectors; // LBA to noisy reads, or kEveryRead
    std::map<uint32_t, int> c2Errors;     // LBA to reads left that come back wrong, or kEveryRead
    bool bcdFullToc = false;
    bool refusesFullToc = false;
    bool knowsOnlyOlderTocFormats = false;
    bool offersC2Pointers = true;
    int readOffsetSamples = 0;
    unsigned delayPerSectorMicroseconds = 0;
    std::string mcn;
    std::map<uint8_t, std::string> isrcs;
    std::string cdTextFile; // none: READ TOC format 5 is refused, as for a disc without CD-Text
    unsigned commandMicroseconds = 0;
    unsigned modelSectorMicroseconds = 0;
    unsigned maxSectorsKb = 120;
    bool refusesSetSpeed = false;
    std::string countersFile; // none: the counters are only read through the emulator's ioctl
};

// Throws std::invalid_argument with a one-line message naming the bad word.
std::vector<DriveConfig> parseDriveList(const std::string& text);

} // namespace driveemulator
