// A CD-drive emulator, preloaded (LD_PRELOAD) into a test process: the device paths named in
// EMULATED_DRIVES behave as Linux CD drives to libcdio (the sr driver's ioctls, MMC commands through
// CDROM_SEND_PACKET and SG_IO, the 2048-byte block device), and every other drive name libcdio looks
// for is hidden. Its discs come from the disc-image writer, never from the library under test.
//
// EMULATED_DRIVES lists drives separated by ";": a device path, behaviour words, then the disc as
// mkdisc's track words ("audio:300,pregap=33 mode1:500", "/" between sessions; none: an empty
// drive). The behaviour words (README.md, "CD-drive emulator", tells more):
//   ready-after=N  NOT READY (becoming ready) to the first N commands that need the disc
//   medium-error=LBA[xN], noisy=LBA[xN], c2-error=LBA[xN]  reads of the sector fail with MEDIUM
//                  ERROR 3/11/00; come back unlike any other read, without an error or C2 pointers;
//                  come back the same wrong way with C2 pointers. xN: the first N reads only
//   unstable=LBA   every second read of the sector comes back changed, with C2 pointers
//   bcd-toc, no-full-toc  the full TOC's numbers in BCD; READ TOC format 2 refused
//   older-toc      READ TOC's format known only in byte 9, as before MMC: byte 2's refused
//   no-c2, no-speed  no C2 pointers (capabilities page, READ CD); SET CD SPEED refused
//   offset=SAMPLES the read offset: audio comes that many samples late (negative: early)
//   delay-us=N     N microseconds per sector read
//   mcn=DIGITS, isrc=TRACK:CODE  the disc's MCN, a track's ISRC (READ SUB-CHANNEL)
//   cdtext=FILE    READ TOC format 5's reply, header included (none: refused)
//   cmd-us=N,sector-us=N  the speed model: N µs per command, N more per block READ CD delivers
//   max-sectors-kb=N  the kernel's transfer limit (BLKSECTGET), 120 unless given
//   counters=FILE  the counters (DriveCounters.h) written to FILE at exit, a "name value" line each
// A description the emulator cannot read stops the process: every test relying on it would fail.
#include "DriveCounters.h"
#include "TrackWordParser.h"
#include "mkdisc/DiscWriter.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <linux/fs.h>
#include <mntent.h>
#include <scsi/scsi.h>
#include <scsi/sg.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

namespace {

using driveemulator::DriveCounters;
using mkdisc::TrackMode;
using Bytes = std::vector<uint8_t>;
constexpr int kEveryRead = -1;
constexpr uint32_t kLeadIn = mkdisc::kLeadInFrames;
constexpr int64_t kSectorBytes = mkdisc::kRawSectorBytes; // signed: a read offset reaches before the disc

struct Config
{
    std::string path;
    std::optional<mkdisc::DiscDescription> disc; // none: the drive is empty
    unsigned readyAfter = 0, delayUs = 0, commandUs = 0, sectorUs = 0, maxSectorsKb = 120;
    std::map<uint32_t, int> mediumErrors, noisy, c2Errors; // LBA to faulty reads left, or kEveryRead
    std::set<uint32_t> unstable;
    bool bcdToc = false, noFullToc = false, olderToc = false, noC2 = false, noSpeed = false;
    int readOffset = 0;
    std::string mcn, cdTextFile, countersFile;
    std::map<uint8_t, std::string> isrcs;
};

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

// False when the word is no behaviour word, and so a track word; std::invalid_argument for a bad one.
bool parseBehaviour(const std::string& word, Config& c)
{
    const size_t equals = word.find('=');
    const std::string key = word.substr(0, equals),
                      value = equals == std::string::npos ? "" : word.substr(equals + 1);
    const auto number = [&word](const std::string& text) {
        size_t used = 0;
        try {
            const long parsed = std::stol(text, &used);
            if (used == text.size())
                return parsed;
        } catch (const std::logic_error&) {
        }
        throw std::invalid_argument("bad number in \"" + word + "\"");
    };
    const auto set = [](auto& field, auto to) { return field = to, true; };
    if (equals != std::string::npos && (key == "cmd-us" || key == "sector-us")) {
        for (const std::string& part : split(word, ',')) {
            const size_t at = part.find('=');
            const auto us = static_cast<unsigned>(number(at == std::string::npos ? "" : part.substr(at + 1)));
            if (part.substr(0, at) != "cmd-us" && part.substr(0, at) != "sector-us")
                throw std::invalid_argument("bad speed model in \"" + word + "\"");
            (part.substr(0, at) == "cmd-us" ? c.commandUs : c.sectorUs) = us;
        }
        return true;
    }
    const std::pair<const char*, bool Config::*> flags[] = {{"bcd-toc", &Config::bcdToc},
                                                            {"no-full-toc", &Config::noFullToc},
                                                            {"older-toc", &Config::olderToc},
                                                            {"no-c2", &Config::noC2},
                                                            {"no-speed", &Config::noSpeed}};
    const std::pair<const char*, unsigned Config::*> numbers[] = {{"ready-after", &Config::readyAfter},
                                                                  {"delay-us", &Config::delayUs},
                                                                  {"max-sectors-kb", &Config::maxSectorsKb}};
    const std::pair<const char*, std::string Config::*> texts[] = {
        {"mcn", &Config::mcn}, {"cdtext", &Config::cdTextFile}, {"counters", &Config::countersFile}};
    const std::pair<const char*, std::map<uint32_t, int> Config::*> faults[] = {
        {"medium-error", &Config::mediumErrors}, {"noisy", &Config::noisy}, {"c2-error", &Config::c2Errors}};
    for (const auto& [name, member] : flags)
        if (word == name)
            return set(c.*member, true);
    for (const auto& [name, member] : numbers)
        if (key == name)
            return set(c.*member, static_cast<unsigned>(number(value)));
    for (const auto& [name, member] : texts)
        if (key == name)
            return set(c.*member, value);
    const size_t times = value.find('x');
    for (const auto& [name, member] : faults)
        if (key == name)
            return set((c.*member)[static_cast<uint32_t>(number(value.substr(0, times)))],
                       times == std::string::npos ? kEveryRead
                                                  : static_cast<int>(number(value.substr(times + 1))));
    if (key == "unstable")
        return c.unstable.insert(static_cast<uint32_t>(number(value))), true;
    if (key == "offset")
        return set(c.readOffset, static_cast<int>(number(value)));
    const size_t colon = value.find(':');
    if (key == "isrc" && colon != std::string::npos)
        return set(c.isrcs[static_cast<uint8_t>(number(value.substr(0, colon)))], value.substr(colon + 1));
    return false;
}

std::vector<Config> parseDriveList(const std::string& text)
{
    std::vector<Config> drives;
    for (const std::string& entry : split(text, ';')) {
        const std::vector<std::string> words = split(entry, ' ');
        if (words.empty())
            continue;
        Config& drive = drives.emplace_back();
        drive.path = words.front();
        std::vector<std::string> trackWords;
        for (size_t i = 1; i < words.size(); ++i)
            if (!(trackWords.empty() && parseBehaviour(words[i], drive)))
                trackWords.push_back(words[i]);
        if (!trackWords.empty())
            drive.disc = mkdisc::DiscDescription{"disc", mkdisc::parseSessionWords(trackWords)};
    }
    return drives;
}

uint32_t bigEndian(const uint8_t* bytes, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

void putBigEndian(Bytes& out, uint32_t value, int count)
{
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

// Appends minutes, seconds and frames of an absolute address, after a zero byte when zeroFirst.
void putMsf(Bytes& out, uint32_t absoluteFrame, bool bcd, bool zeroFirst = false)
{
    const discgeometry::Msf msf = discgeometry::toMsf(absoluteFrame);
    const auto put = [bcd](uint32_t value) {
        return bcd ? discgeometry::toBcd(value) : static_cast<uint8_t>(value);
    };
    if (zeroFirst)
        out.push_back(0);
    out.insert(out.end(), {put(msf.minutes), put(msf.seconds), put(msf.frames)});
}

int64_t msfToLba(const uint8_t* msf)
{
    return (msf[0] * 60 + msf[1]) * 75 + msf[2] - int64_t{kLeadIn};
}

// Fixed-format sense data, as a drive returns it with CHECK CONDITION: VALID with the failing LBA of a read.
using Sense = std::array<uint8_t, 18>;
Sense sense(uint8_t key, uint8_t asc, uint8_t ascq, std::optional<uint32_t> lba = std::nullopt)
{
    Sense bytes{static_cast<uint8_t>(lba ? 0xF0 : 0x70), 0, key, 0, 0, 0, 0, 10, 0, 0, 0, 0, asc, ascq};
    for (int i = 0; lba && i < 4; ++i)
        bytes[3 + i] = static_cast<uint8_t>(*lba >> (24 - 8 * i));
    return bytes;
}
const Sense kNoSense = sense(0, 0, 0), kBecomingReady = sense(2, 0x04, 1), kNoMedium = sense(2, 0x3A, 0),
            kInvalidOpcode = sense(5, 0x20, 0), kOutOfRange = sense(5, 0x21, 0),
            kInvalidField = sense(5, 0x24, 0), kIllegalModeForTrack = sense(5, 0x64, 0);

struct DiscTrack
{
    uint8_t number, session, control; // control: the Q sub-channel's CONTROL nibble
    TrackMode mode;
    uint32_t startLba;
};

struct DiscSession
{
    uint8_t number, firstTrack, lastTrack, type; // type: 0x00 CD-DA or CD-ROM, 0x20 CD-ROM XA
    uint32_t leadOutLba;
};

// The disc in a drive: its layout and sectors as the disc-image writer describes them.
struct Disc
{
    mkdisc::DiscDescription description;
    std::vector<DiscTrack> tracks;
    std::vector<DiscSession> sessions;

    // Throws std::invalid_argument for a description no disc can have.
    explicit Disc(mkdisc::DiscDescription disc) : description(std::move(disc))
    {
        const mkdisc::DiscLayout layout = mkdisc::layoutOf(description);
        for (size_t s = 0; s < description.sessions.size(); ++s) {
            DiscSession session{static_cast<uint8_t>(s + 1), 0, 0, 0x00, layout.sessionLeadOutLba[s]};
            for (const mkdisc::TrackDescription& written : description.sessions[s].tracks) {
                const mkdisc::TrackLayout& placed = layout.tracks[tracks.size()];
                const int control = (written.mode != TrackMode::Audio ? 0x4 : 0) |
                                    (written.digitalCopyPermitted ? 0x2 : 0) |
                                    (written.preEmphasis ? 0x1 : 0) | (written.fourChannel ? 0x8 : 0);
                tracks.push_back({placed.number, placed.session, static_cast<uint8_t>(control), written.mode,
                                  placed.startLba});
                session.firstTrack = session.firstTrack == 0 ? placed.number : session.firstTrack;
                session.lastTrack = placed.number;
                if (written.mode == TrackMode::Mode2Raw)
                    session.type = 0x20;
            }
            sessions.push_back(session);
        }
    }

    uint32_t lastLeadOutLba() const { return sessions.back().leadOutLba; }
    const DiscTrack& track(uint8_t number) const { return tracks[number - 1u]; }

    // The track whose pregap or body holds the sector; none in a lead-out or between sessions.
    const DiscTrack* trackAt(int64_t lba) const
    {
        for (const DiscSession& s : sessions) {
            const int64_t start =
                s.number == 1 ? 0 : sessions[s.number - 2u].leadOutLba + int64_t{mkdisc::kSessionGapFrames};
            if (lba < start || lba >= s.leadOutLba)
                continue;
            const DiscTrack* holder = &track(s.firstTrack); // sectors before it are its pregap
            for (const DiscTrack& t : tracks)
                holder = t.session == s.number && t.startLba <= lba ? &t : holder;
            return holder;
        }
        return nullptr;
    }

    // The raw sector as it was written; none outside every track.
    std::optional<mkdisc::Sector> sector(int64_t lba) const
    {
        try {
            return lba < 0 || lba > UINT32_MAX
                       ? std::nullopt
                       : std::optional(mkdisc::sectorAt(description, static_cast<uint32_t>(lba)));
        } catch (const std::out_of_range&) {
            return std::nullopt;
        }
    }

    // Audio as a drive whose audio starts readOffset samples late delivers it: at each place what
    // the disc holds that much earlier, silence outside the disc's audio tracks.
    mkdisc::Sector audioSector(int64_t lba, int readOffset) const
    {
        const int64_t firstByte = lba * kSectorBytes - readOffset * int64_t{discgeometry::kBytesPerSample};
        mkdisc::Sector shifted{};
        for (int64_t done = 0; done < kSectorBytes;) {
            const int64_t byte = firstByte + done;
            const int64_t source =
                (byte >= 0 ? byte : byte - kSectorBytes + 1) / kSectorBytes; // rounded down
            const int64_t within = byte - source * kSectorBytes,
                          count = std::min(kSectorBytes - within, kSectorBytes - done);
            const DiscTrack* track = trackAt(source);
            const std::optional<mkdisc::Sector> content =
                track && track->mode == TrackMode::Audio ? sector(source) : std::nullopt;
            if (content)
                std::memcpy(shifted.data() + done, content->data() + within, static_cast<size_t>(count));
            done += count;
        }
        return shifted;
    }
};

struct SectorRead
{
    mkdisc::Sector bytes{};
    std::vector<uint16_t> altered; // bytes that differ from the disc's, for C2 error pointers
};

struct Reply
{
    Bytes data;                 // at most the command's allocation length
    std::optional<Sense> sense; // CHECK CONDITION
};

Reply answer(Bytes data, size_t allocation)
{
    data.resize(std::min(data.size(), allocation));
    return {std::move(data), std::nullopt};
}

// One drive. Callers hold its lock for a whole command, as a drive serves one at a time.
struct Drive
{
    std::mutex mutex;
    Config config;
    std::optional<Disc> disc;
    DriveCounters counters;
    Sense lastSense = kNoSense; // for REQUEST SENSE; reading it clears it
    int64_t lastReadLba = 0;
    unsigned notReadyAnswers = 0;
    std::map<int64_t, unsigned> unstableReads;
    timespec arrival{}, busyUntil{}; // sleeping to busyUntil absorbs each sleep's overshoot

    explicit Drive(Config c) : config(std::move(c))
    {
        if (config.disc)
            disc.emplace(*config.disc);
    }

    // Why a command that needs the disc fails now; a drive becoming ready gets closer with each answer.
    std::optional<Sense> mediumState()
    {
        if (!disc || notReadyAnswers < config.readyAfter)
            return !disc ? kNoMedium : (++notReadyAnswers, kBecomingReady);
        return std::nullopt;
    }

    // The sector as the drive delivers it: audio shifted by the read offset, faults applied.
    std::optional<Sense> readSector(int64_t lba, SectorRead& read)
    {
        const DiscTrack* track = disc->trackAt(lba);
        if (track == nullptr)
            return kOutOfRange;
        if (config.delayUs > 0)
            ::usleep(config.delayUs);
        lastReadLba = lba;
        const auto at = static_cast<uint32_t>(lba);
        const auto faulty = [at](std::map<uint32_t, int>& faults) { // this read has the fault, one less left
            const auto fault = faults.find(at);
            if (fault == faults.end() || fault->second == 0)
                return false;
            fault->second -= fault->second > 0 ? 1 : 0;
            return true;
        };
        if (faulty(config.mediumErrors))
            return sense(3, 0x11, 0, at); // unrecovered read error
        read.altered.clear();
        read.bytes =
            track->mode == TrackMode::Audio ? disc->audioSector(lba, config.readOffset) : *disc->sector(lba);
        // Bytes in the middle of the sector come back changed; C2 pointers mark them where the drive knows.
        const auto alter = [&read](uint8_t mask, bool known) {
            for (uint16_t offset = 1000; offset < 1004; ++offset) {
                read.bytes[offset] ^= mask;
                if (known)
                    read.altered.push_back(offset);
            }
        };
        const bool unstable = config.unstable.count(at) != 0, noisy = faulty(config.noisy);
        const unsigned reads = unstable || noisy ? ++unstableReads[lba] : 0;
        if ((unstable && reads % 2 == 0) || noisy)
            alter(noisy ? static_cast<uint8_t>(reads) : uint8_t{0xFF}, !noisy);
        if (faulty(config.c2Errors))
            alter(0xFF, true); // the same bytes every time, so that two altered reads agree
        return std::nullopt;
    }

    // Counts a command that delivered blocks sectors, and takes the time the speed model gives it,
    // counted from the command's arrival so that building the reply overlaps it.
    void serve(bool readCd, uint32_t blocks)
    {
        ++counters.commands;
        counters.readCdCommands += readCd ? 1 : 0;
        counters.sectorsRead += blocks;
        const uint64_t cost = config.commandUs + uint64_t{config.sectorUs} * blocks;
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
};

// ---- MMC commands, whichever transport carries them

// READ TOC's reply: the length field counts the bytes after itself.
Bytes tocReply(uint8_t first, uint8_t last, const Bytes& descriptors)
{
    Bytes reply;
    putBigEndian(reply, static_cast<uint32_t>(descriptors.size() + 2), 2);
    reply.insert(reply.end(), {first, last});
    reply.insert(reply.end(), descriptors.begin(), descriptors.end());
    return reply;
}

void putTrack(Bytes& out, const DiscTrack& track, uint8_t number, uint32_t lba, bool msf)
{
    out.insert(out.end(), {0, static_cast<uint8_t>(0x10 | track.control), number, 0});
    if (msf)
        putMsf(out, lba + kLeadIn, false, true);
    else
        putBigEndian(out, lba, 4);
}

// Drives before MMC took READ TOC's format from the two top bits of byte 9, where the kernel still puts it.
uint8_t tocFormat(const uint8_t* cdb)
{
    return (cdb[2] & 0x0F) != 0 ? cdb[2] & 0x0F : cdb[9] >> 6;
}

Reply readToc(Drive& drive, const uint8_t* cdb)
{
    const Disc& disc = *drive.disc;
    const bool msf = cdb[1] & 0x02;
    const uint8_t from = cdb[6];
    Bytes reply, items;
    if ((cdb[2] & 0x0F) != 0 && drive.config.olderToc)
        return {{}, kInvalidField};
    switch (tocFormat(cdb)) {
    case 0: // from track `from` on, then the lead-out of the last session
        if (from > disc.tracks.back().number && from != 0xAA)
            return {{}, kInvalidField};
        for (const DiscTrack& track : disc.tracks)
            if (track.number >= (from == 0xAA ? 100 : from))
                putTrack(items, track, track.number, track.startLba, msf);
        putTrack(items, disc.tracks.back(), 0xAA, disc.lastLeadOutLba(), msf);
        reply = tocReply(disc.tracks.front().number, disc.tracks.back().number, items);
        break;
    case 1: { // the first track of the last session and where it starts
        const DiscTrack& first = disc.track(disc.sessions.back().firstTrack);
        putTrack(items, first, first.number, first.startLba, msf);
        reply = tocReply(1, disc.sessions.back().number, items);
        break;
    }
    case 2: // A0, A1, A2 and the tracks of each session from `from` on, and in each session that
            // another follows, the mode-5 B0 item: where the next one may start
        if (drive.config.noFullToc || from > disc.sessions.size())
            return {{}, kInvalidField};
        for (const DiscSession& s : disc.sessions) {
            const bool bcd = drive.config.bcdToc;
            const auto number = [bcd](uint8_t value) { return bcd ? discgeometry::toBcd(value) : value; };
            const auto item = [&](int adrControl, uint8_t point) {
                items.insert(items.end(), {s.number, static_cast<uint8_t>(adrControl), 0, point, 0, 0, 0, 0});
            };
            if (s.number < from)
                continue;
            const uint8_t lastControl = disc.track(s.lastTrack).control;
            item(0x10 | disc.track(s.firstTrack).control, 0xA0);
            items.insert(items.end(), {number(s.firstTrack), s.type, 0});
            item(0x10 | lastControl, 0xA1);
            items.insert(items.end(), {number(s.lastTrack), 0, 0});
            item(0x10 | lastControl, 0xA2);
            putMsf(items, s.leadOutLba + kLeadIn, bcd);
            for (const DiscTrack& t : disc.tracks)
                if (t.session == s.number) {
                    item(0x10 | t.control, number(t.number));
                    putMsf(items, t.startLba + kLeadIn, bcd);
                }
            if (s.number < disc.sessions.size()) {
                item(0x50, 0xB0);
                putMsf(items, s.leadOutLba + mkdisc::kSessionGapFrames + kLeadIn, bcd);
            }
        }
        reply = tocReply(1, disc.sessions.back().number, items);
        break;
    case 5: {
        std::ifstream file(drive.config.cdTextFile, std::ios::binary);
        if (drive.config.cdTextFile.empty() || !file)
            return {{}, kInvalidField}; // a disc without CD-Text
        reply.assign(std::istreambuf_iterator<char>(file), {});
        break;
    }
    default: // no PMA, no ATIP on a pressed disc
        return {{}, kInvalidField};
    }
    return answer(reply, bigEndian(cdb + 7, 2));
}

Reply readSubChannel(Drive& drive, const uint8_t* cdb)
{
    const uint8_t format = cdb[3];
    Bytes data;
    if (format == 1) { // the current position: the last sector read, in its track
        const int64_t lba = drive.lastReadLba;
        const DiscTrack* track = drive.disc->trackAt(lba);
        data = {1, 0, 0, 0};
        if (track != nullptr) {
            data = {1, static_cast<uint8_t>(track->control | 1 << 4), track->number,
                    lba < track->startLba ? uint8_t{0} : uint8_t{1}};
            for (const int64_t address : {lba, lba - int64_t{track->startLba}}) {
                if (cdb[1] & 0x02)
                    putMsf(data, static_cast<uint32_t>(address + (address == lba ? kLeadIn : 0)), false,
                           true);
                else
                    putBigEndian(data, static_cast<uint32_t>(address), 4);
            }
        }
    } else if (format == 2 || format == 3) { // the MCN or a track's ISRC, MCVAL or TCVAL when there is one
        data = Bytes(20, 0);
        data[0] = format;
        const auto isrc = drive.config.isrcs.find(cdb[6]);
        const std::string code = format == 2                        ? drive.config.mcn
                                 : isrc == drive.config.isrcs.end() ? ""
                                                                    : isrc->second;
        data[4] = code.empty() ? 0 : 0x80;
        std::copy(code.begin(), code.end(), data.begin() + 5);
    } else {
        return {{}, kInvalidField};
    }
    Bytes reply{0, 0x15, 0, static_cast<uint8_t>(data.size())}; // audio status: none
    reply.insert(reply.end(), data.begin(), data.end());
    return answer(reply, bigEndian(cdb + 7, 2));
}

uint32_t blockCount(const uint8_t* cdb) // of READ CD or READ CD MSF
{
    return cdb[0] == 0xBE
               ? bigEndian(cdb + 6, 3)
               : static_cast<uint32_t>(std::max<int64_t>(msfToLba(cdb + 6) - msfToLba(cdb + 3), 0));
}

// READ CD and READ CD MSF. Byte 1 bits 4-2: the expected sector type (0 any, 1 CD-DA, 2 mode 1, 3-5
// mode 2); byte 9: sync 0x80, header 0x20, user data 0x10, EDC/ECC 0x08, C2 pointers 0x02 (0x04:
// with the block error byte); byte 10 bits 2-0: sub-channel, 2 for Q, the only one the drive offers.
Reply readCd(Drive& drive, const uint8_t* cdb)
{
    const uint8_t type = cdb[1] >> 2 & 0x07, fields = cdb[9], subChannel = cdb[10] & 0x07;
    Reply reply;
    SectorRead read;
    const int64_t first =
        cdb[0] == 0xBE ? int64_t{static_cast<int32_t>(bigEndian(cdb + 2, 4))} : msfToLba(cdb + 3);
    for (int64_t lba = first; lba < first + blockCount(cdb); ++lba) {
        const DiscTrack* track = drive.disc->trackAt(lba);
        const TrackMode mode = track ? track->mode : TrackMode::Audio;
        std::optional<Sense> failed;
        if (track == nullptr)
            failed = kOutOfRange;
        else if (!(type == 0 || (type == 1 && mode == TrackMode::Audio) ||
                   (type == 2 && mode == TrackMode::Mode1Raw) ||
                   (type >= 3 && type <= 5 && mode == TrackMode::Mode2Raw)))
            failed = kIllegalModeForTrack;
        else if ((drive.config.noC2 && (fields & 0x06) != 0) || (subChannel != 0 && subChannel != 2))
            failed = kInvalidField;
        else
            failed = drive.readSector(lba, read);
        if (failed)
            return {{}, failed};
        // The main channel's fields, in order: an audio sector is all user data.
        const size_t userEnd = mode == TrackMode::Mode1Raw ? 2064 : read.bytes.size();
        const size_t bounds[] = {0, 12, 16, userEnd, read.bytes.size()};
        const uint8_t bits[] = {0x80, 0x20, 0x10, 0x08};
        for (int part = 0; part < 4; ++part)
            if (mode == TrackMode::Audio ? part == 2 && (fields & 0x10) != 0 : (fields & bits[part]) != 0)
                reply.data.insert(reply.data.end(),
                                  read.bytes.begin() +
                                      static_cast<long>(mode == TrackMode::Audio ? 0 : bounds[part]),
                                  read.bytes.begin() + static_cast<long>(bounds[part + 1]));
        if ((fields & 0x06) != 0) { // one bit per byte, most significant first
            Bytes pointers(discgeometry::kC2PointerBytes, 0);
            for (const uint16_t offset : read.altered)
                pointers[offset / 8] |= static_cast<uint8_t>(0x80 >> offset % 8);
            if ((fields & 0x04) != 0) // the block error byte ORs them all
                reply.data.insert(reply.data.end(), {static_cast<uint8_t>(read.altered.empty() ? 0 : 1), 0});
            reply.data.insert(reply.data.end(), pointers.begin(), pointers.end());
        }
        if (subChannel == 2) { // mode-1 Q, the time in the track counting down to INDEX 01 in the pregap
            const bool pregap = lba < track->startLba;
            Bytes q{static_cast<uint8_t>(track->control << 4 | 1), discgeometry::toBcd(track->number),
                    uint8_t{!pregap}};
            putMsf(q, static_cast<uint32_t>(pregap ? track->startLba - lba : lba - track->startLba), true);
            putMsf(q, static_cast<uint32_t>(lba + kLeadIn), true, true);
            uint16_t crc = 0; // CRC-16-CCITT of the ten bytes, inverted
            for (const uint8_t byte : q) {
                crc ^= static_cast<uint16_t>(byte << 8);
                for (int bit = 0; bit < 8; ++bit)
                    crc = static_cast<uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
            }
            q.insert(q.end(), {static_cast<uint8_t>(~crc >> 8), static_cast<uint8_t>(~crc), 0, 0, 0, 0});
            reply.data.insert(reply.data.end(), q.begin(), q.end());
        }
    }
    return reply;
}

// The capabilities page: reads CD-DA accurately, with C2 pointers if it offers them, ISRC, UPC and
// sub-channel data; audio play, multi-session; lock, eject, tray loading.
Reply modeSense(Drive& drive, const uint8_t* cdb)
{
    const uint8_t page = cdb[2] & 0x3F;
    const bool tenBytes = cdb[0] == 0x5A;
    if (page != 0x2A && page != 0x3F)
        return {{}, kInvalidField};
    Bytes reply = tenBytes ? Bytes{0, 22 + 6, 0, 0, 0, 0, 0, 0} : Bytes{22 + 3, 0, 0, 0};
    reply.insert(reply.end(),
                 {0x2A, 20, 0, 0, 0x41, static_cast<uint8_t>(drive.config.noC2 ? 0x67 : 0x77), 0x29});
    reply.resize(reply.size() + 15);
    return answer(reply, tenBytes ? bigEndian(cdb + 7, 2) : cdb[4]);
}

Reply inquiry(Drive&, const uint8_t* cdb) // a CD/DVD device with a removable medium
{
    const std::string identity = "EMULATEDCD-ROM DRIVE    1.0 ";
    Bytes reply{0x05, 0x80, 0x05, 0x32, 31, 0, 0, 0};
    reply.insert(reply.end(), identity.begin(), identity.end());
    return answer(reply, bigEndian(cdb + 3, 2));
}

Reply readCapacity(Drive& drive, const uint8_t*) // the last block, 2048 bytes each
{
    Bytes reply;
    putBigEndian(reply, drive.disc->lastLeadOutLba() - 1, 4);
    putBigEndian(reply, 2048, 4);
    return answer(reply, 8);
}

struct Command
{
    uint8_t opcode;
    bool needsDisc;
    Reply (*respond)(Drive&, const uint8_t*);
};

const Command kCommands[] = {
    {0x00, false,
     [](Drive& drive, const uint8_t*) {
         return Reply{{}, drive.mediumState()};
     }},          // TEST UNIT READY
    {0x03, false, // REQUEST SENSE
     [](Drive& drive, const uint8_t* cdb) {
         return answer(Bytes(drive.lastSense.begin(), drive.lastSense.end()), cdb[4]);
     }},
    {0x12, false, inquiry},
    {0x1A, false, modeSense},
    {0x5A, false, modeSense},
    {0x25, true, readCapacity},
    {0x42, true, readSubChannel},
    {0x43, true, readToc},
    {0x46, false, // GET CONFIGURATION: the current profile, then the profile list naming CD-ROM, current
     [](Drive&, const uint8_t* cdb) {
         return answer({0, 0, 0, 16, 0, 0, 0, 8, 0, 0, 3, 4, 0, 8, 1, 0}, bigEndian(cdb + 7, 2));
     }},
    {0xB9, true, readCd},
    {0xBE, true, readCd},
    {0xBB, false, // SET CD SPEED
     [](Drive& drive, const uint8_t* cdb) {
         DriveCounters& counters = drive.counters;
         if (counters.setSpeedCommands < std::size(counters.readSpeedsKbs))
             counters.readSpeedsKbs[counters.setSpeedCommands] = static_cast<uint16_t>(bigEndian(cdb + 2, 2));
         ++counters.setSpeedCommands;
         return drive.config.noSpeed ? Reply{{}, kInvalidOpcode} : Reply{};
     }},
};

// Answers one command descriptor block; anything the drive does not know is ILLEGAL REQUEST,
// INVALID COMMAND OPERATION CODE. The sr driver retries a command that meets a drive becoming ready
// ten times.
Reply send(Drive& drive, const uint8_t* cdb)
{
    Reply reply{{}, kBecomingReady};
    for (int tries = 0; tries <= 10 && reply.sense == kBecomingReady; ++tries) {
        ::clock_gettime(CLOCK_MONOTONIC, &drive.arrival);
        drive.counters.tocReads += cdb[0] == 0x43 && tocFormat(cdb) == 0 && cdb[6] == 0 ? 1 : 0;
        reply = {{}, kInvalidOpcode};
        for (const Command& command : kCommands)
            if (command.opcode == cdb[0]) {
                const std::optional<Sense> state = command.needsDisc ? drive.mediumState() : std::nullopt;
                reply = state ? Reply{{}, state} : command.respond(drive, cdb);
            }
        const bool readCd = cdb[0] == 0xBE || cdb[0] == 0xB9;
        drive.serve(readCd, readCd && !reply.sense ? blockCount(cdb) : 0);
        if (cdb[0] == 0x03)
            drive.lastSense = kNoSense;
        else if (reply.sense)
            drive.lastSense = *reply.sense;
    }
    return reply;
}

// ---- The sr driver's ioctls, answered mostly by sending MMC commands, as the kernel does

int fail(int error)
{
    errno = error;
    return -1;
}

int discStatus(Drive& drive)
{
    if (drive.mediumState())
        return CDS_NO_DISC;
    bool audio = false, data = false, xa = false;
    for (const DiscTrack& track : drive.disc->tracks) {
        audio |= track.mode == TrackMode::Audio;
        data |= track.mode != TrackMode::Audio;
        xa |= track.mode == TrackMode::Mode2Raw;
    }
    return audio && data ? CDS_MIXED : xa ? CDS_XA_2_1 : data ? CDS_DATA_1 : CDS_AUDIO;
}

// The ioctl's result, or -1 with errno set. The caller holds the drive's lock.
int driveIoctl(Drive& drive, unsigned long request, void* argument)
{
    Reply reply;
    // Sends the command; on CHECK CONDITION, errno as the kernel sets it: ENOMEDIUM without a disc.
    const auto ask = [&](std::initializer_list<uint8_t> bytes) {
        uint8_t cdb[16] = {};
        std::copy(bytes.begin(), bytes.end(), cdb);
        reply = send(drive, cdb);
        if (reply.sense)
            fail((*reply.sense)[2] == 2 && (*reply.sense)[12] == 0x3A ? ENOMEDIUM : EIO);
        return !reply.sense;
    };
    const uint8_t* data = nullptr; // the reply, after ask
    switch (request) {
    case CDROM_GET_CAPABILITY:
        return CDC_CLOSE_TRAY | CDC_OPEN_TRAY | CDC_LOCK | CDC_SELECT_SPEED | CDC_MULTI_SESSION | CDC_MCN |
               CDC_MEDIA_CHANGED | CDC_PLAY_AUDIO | CDC_RESET | CDC_DRIVE_STATUS | CDC_GENERIC_PACKET;
    case SCSI_IOCTL_GET_BUS_NUMBER:
    case SCSI_IOCTL_GET_IDLUN:
        std::memset(argument, 0, (request == SCSI_IOCTL_GET_IDLUN ? 2 : 1) * sizeof(int));
        return 0;
    case CDROMREADTOCHDR:
        if (!ask({0x43, 0x02, 0, 0, 0, 0, 0, 0xFF, 0xFF}))
            return -1;
        *static_cast<cdrom_tochdr*>(argument) = {reply.data[2], reply.data[3]};
        return 0;
    case CDROMREADTOCENTRY: {
        auto& entry = *static_cast<cdrom_tocentry*>(argument);
        const bool msf = entry.cdte_format == CDROM_MSF;
        if (!msf && entry.cdte_format != CDROM_LBA)
            return fail(EINVAL);
        if (!ask({0x43, static_cast<uint8_t>(msf ? 0x02 : 0), 0, 0, 0, 0, entry.cdte_track, 0xFF, 0xFF}))
            return -1;
        data = reply.data.data() + 4;
        entry.cdte_adr = data[1] >> 4;
        entry.cdte_ctrl = data[1] & 0x0F;
        if (msf)
            entry.cdte_addr.msf = {data[5], data[6], data[7]};
        else
            entry.cdte_addr.lba = static_cast<int>(bigEndian(data + 4, 4));
        entry.cdte_datamode = (entry.cdte_ctrl & CDROM_DATA_TRACK) ? 1 : 0;
        return 0;
    }
    case CDROMMULTISESSION: { // asked in READ TOC's older form; no second session when track 1 starts the
                              // last
        auto& info = *static_cast<cdrom_multisession*>(argument);
        if (info.addr_format != CDROM_MSF && info.addr_format != CDROM_LBA)
            return fail(EINVAL);
        if (!ask({0x43, 0, 0, 0, 0, 0, 0, 0, 12, 0x40}))
            return -1;
        const uint32_t lba = reply.data[6] <= 1 ? 0 : bigEndian(reply.data.data() + 8, 4);
        Bytes msf;
        putMsf(msf, lba + kLeadIn, false);
        if (info.addr_format == CDROM_MSF)
            info.addr.msf = {msf[0], msf[1], msf[2]};
        else
            info.addr.lba = static_cast<int>(lba);
        info.xa_flag = discStatus(drive) == CDS_XA_2_1;
        return 0;
    }
    case CDROM_GET_MCN: {
        auto& mcn = *static_cast<cdrom_mcn*>(argument);
        if (!ask({0x42, 0, 0x40, 2, 0, 0, 0, 0, 24}))
            return -1;
        std::memcpy(mcn.medium_catalog_number, reply.data.data() + 9, 13);
        mcn.medium_catalog_number[13] = 0;
        return 0;
    }
    case CDROM_DISC_STATUS:
        return discStatus(drive);
    case CDROM_DRIVE_STATUS:
        return drive.disc ? CDS_DISC_OK : CDS_NO_DISC;
    case CDROM_SEND_PACKET: { // the sense to the caller and EIO, or the transfer, buflen the residual count
        auto& command = *static_cast<cdrom_generic_command*>(argument);
        reply = send(drive, command.cmd);
        if (reply.sense && command.sense != nullptr)
            std::memcpy(command.sense, reply.sense->data(), reply.sense->size());
        if (reply.sense)
            return fail(EIO);
        const size_t count = std::min<size_t>(reply.data.size(), command.buflen);
        if (count > 0)
            std::memcpy(command.buffer, reply.data.data(), count);
        command.stat = 0;
        command.buflen -= static_cast<unsigned>(count);
        return 0;
    }
    case SG_IO: { // the ioctl succeeds; CHECK CONDITION shows in the status and the sense buffer
        auto& io = *static_cast<sg_io_hdr_t*>(argument);
        if (io.interface_id != 'S' || io.cmd_len > 16)
            return fail(EINVAL);
        uint8_t cdb[16] = {};
        std::memcpy(cdb, io.cmdp, io.cmd_len);
        reply = send(drive, cdb);
        const size_t count = std::min<size_t>(reply.data.size(), io.dxfer_len);
        io.status = reply.sense ? 0x02 : 0;        // CHECK CONDITION
        io.masked_status = reply.sense ? 0x01 : 0; // the same, shifted right
        io.driver_status = reply.sense ? 0x08 : 0; // DRIVER_SENSE
        io.host_status = 0;
        io.sb_len_wr =
            reply.sense ? static_cast<unsigned char>(std::min<size_t>(reply.sense->size(), io.mx_sb_len)) : 0;
        if (reply.sense)
            std::memcpy(io.sbp, reply.sense->data(), io.sb_len_wr);
        else if (count > 0)
            std::memcpy(io.dxferp, reply.data.data(), count);
        io.resid = static_cast<int>(io.dxfer_len - (reply.sense ? 0 : count));
        return 0;
    }
    case CDROMSUBCHNL:
        if (std::optional<Sense> state = drive.mediumState())
            return fail((*state)[12] == 0x3A ? ENOMEDIUM : EIO);
        static_cast<cdrom_subchnl*>(argument)->cdsc_audiostatus = CDROM_AUDIO_NO_STATUS;
        return 0;
    case DVD_READ_STRUCT: // a CD-only drive
        return fail(ENOSYS);
    case BLKSECTGET: // in 512-byte units
        *static_cast<unsigned short*>(argument) = static_cast<unsigned short>(drive.config.maxSectorsKb * 2);
        return 0;
    case driveemulator::kReadDriveCounters:
        *static_cast<DriveCounters*>(argument) = drive.counters;
        return 0;
    case CDROM_SELECT_SPEED: { // SET CD SPEED at 177 kB/s to each 1x, 0 for the fastest, cut to 16 bits
        const auto speed = reinterpret_cast<unsigned long>(argument);
        const unsigned long kbs = speed == 0 ? 0xFFFF : std::min(speed, 0xFFFFul / 177) * 177;
        return ask({0xBB, 0, static_cast<uint8_t>(kbs >> 8), static_cast<uint8_t>(kbs)}) ? 0 : fail(EIO);
    }
    case CDROM_MEDIA_CHANGED:
    case CDROM_LOCKDOOR:
    case CDROMEJECT:
    case CDROMCLOSETRAY:
        return 0;
    default:
        return fail(ENOTTY);
    }
}

off_t blockDeviceSize(const Drive& drive) // 2048-byte blocks up to the last lead-out
{
    return drive.disc ? off_t{drive.disc->lastLeadOutLba()} * 2048 : 0;
}

// Reads through the 2048-byte block device, as libcdio reads mode-1 sectors: their user data from
// byte `position` on, or -1 with errno set: EIO for an audio sector or a failing one, as the kernel
// refuses cooked reads of audio.
ssize_t readBlocks(Drive& drive, off_t position, void* buffer, size_t count)
{
    if (std::optional<Sense> state = drive.mediumState())
        return fail((*state)[12] == 0x3A ? ENOMEDIUM : EIO);
    size_t done = 0;
    SectorRead read;
    for (off_t at = position; done < count && at < blockDeviceSize(drive);
         at = position + static_cast<off_t>(done)) {
        const DiscTrack* track = drive.disc->trackAt(at / 2048);
        if (track == nullptr || track->mode != TrackMode::Mode1Raw || drive.readSector(at / 2048, read))
            return done > 0 ? static_cast<ssize_t>(done) : fail(EIO);
        const size_t within = static_cast<size_t>(at % 2048), part = std::min(count - done, 2048 - within);
        std::memcpy(static_cast<uint8_t*>(buffer) + done, read.bytes.data() + 16 + within, part);
        done += part;
    }
    return static_cast<ssize_t>(done);
}

// ---- The drives of this process, and the file descriptors open on them

struct OpenDrive
{
    Drive* drive;
    unsigned index; // among the emulated drives
    off_t position = 0;
    bool used = false; // a command went through it: counted among the drive's opens
};

struct Emulator
{
    std::vector<std::unique_ptr<Drive>> drives;
    std::mutex mutex;
    std::unordered_map<int, OpenDrive> open;

    // The drive's number among the emulated ones, its minor device number; -1 for no emulated drive.
    int indexOf(const char* path) const
    {
        for (size_t i = 0; path != nullptr && i < drives.size(); ++i)
            if (drives[i]->config.path == path)
                return static_cast<int>(i);
        return -1;
    }
};

void writeCountersFiles();

Emulator& emulator()
{
    // Never destroyed: other libraries' destructors may still close descriptors at exit.
    static Emulator* const instance = [] {
        auto* created = new Emulator;
        const char* list = std::getenv("EMULATED_DRIVES");
        try {
            for (Config& config : parseDriveList(list != nullptr ? list : ""))
                created->drives.push_back(std::make_unique<Drive>(std::move(config)));
        } catch (const std::invalid_argument& error) {
            std::fprintf(stderr, "drive emulator: EMULATED_DRIVES: %s\n", error.what());
            std::abort();
        }
        std::atexit(writeCountersFiles);
        return created;
    }();
    return *instance;
}

void writeCountersFiles()
{
    for (const std::unique_ptr<Drive>& drive : emulator().drives) {
        if (drive->config.countersFile.empty())
            continue;
        const std::lock_guard<std::mutex> lock(drive->mutex);
        const DriveCounters& counters = drive->counters;
        std::ofstream file(drive->config.countersFile, std::ios::trunc);
        file << "commands " << counters.commands << "\nread-cd-commands " << counters.readCdCommands
             << "\nsectors-read " << counters.sectorsRead << "\nopens " << counters.opens << "\ntoc-reads "
             << counters.tocReads << "\nset-speed-commands " << counters.setSpeedCommands
             << "\nread-speeds-kbs";
        for (const uint16_t speed : counters.readSpeedsKbs)
            file << " " << speed;
        file << "\n";
    }
}

// Runs f(OpenDrive&) under the drive's lock when fd is open on an emulated drive; false otherwise.
template <class F> bool withOpenDrive(int fd, F&& f)
{
    std::unique_lock<std::mutex> tableLock(emulator().mutex);
    const auto found = emulator().open.find(fd);
    if (found == emulator().open.end())
        return false;
    OpenDrive& state = found->second;
    tableLock.unlock();
    const std::lock_guard<std::mutex> driveLock(state.drive->mutex);
    f(state);
    return true;
}

// The names libcdio probes when it looks for drives: with the emulator loaded, the emulated drives
// are the machine's only drives.
bool isMachineDriveName(const char* path)
{
    static const std::regex names("/dev/(cdrom|dvd|hd[a-z]|scd[0-9]+|sr[0-9]+)");
    return path != nullptr && std::regex_match(path, names);
}

template <class Function> Function* next(const char* name)
{
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

// The block device node /dev/srN would be: major 11, minor N.
template <class Status> void describeNode(unsigned index, Status& status)
{
    std::memset(&status, 0, sizeof status);
    status.st_mode = S_IFBLK | 0660;
    status.st_nlink = 1;
    status.st_rdev = makedev(11, index);
    status.st_ino = 0x5200 + index;
    status.st_blksize = 2048;
}

void describeNode(unsigned index, struct statx& status)
{
    std::memset(&status, 0, sizeof status);
    status.stx_mask = STATX_BASIC_STATS;
    status.stx_mode = S_IFBLK | 0660;
    status.stx_nlink = 1;
    status.stx_rdev_major = 11;
    status.stx_rdev_minor = index;
    status.stx_ino = 0x5200 + index;
    status.stx_blksize = 2048;
}

// stat and its kin: the emulated node, no node at all for the machine's own drives, else libc.
template <class Status, class Real> int statPath(const char* path, Status* status, Real real)
{
    const int index = emulator().indexOf(path);
    if (index >= 0)
        describeNode(static_cast<unsigned>(index), *status);
    return index >= 0 ? 0 : isMachineDriveName(path) ? fail(ENOENT) : real(path, status);
}

int openPath(const char* name, const char* path, int flags, mode_t mode)
{
    using Open = int(const char*, int, ...);
    const int index = emulator().indexOf(path);
    if (index < 0)
        return isMachineDriveName(path) ? fail(ENOENT) : next<Open>(name)(path, flags, mode);
    // A descriptor of its own, so that its number stays taken until it is closed.
    const int fd = next<Open>("open")("/dev/null", O_RDONLY | (flags & O_CLOEXEC));
    const std::lock_guard<std::mutex> lock(emulator().mutex);
    if (fd >= 0)
        emulator().open[fd] =
            OpenDrive{emulator().drives[static_cast<size_t>(index)].get(), static_cast<unsigned>(index)};
    return fd;
}

off_t seek(const char* name, int fd, off_t offset, int whence)
{
    off_t result = -1;
    const bool emulated = withOpenDrive(fd, [&](OpenDrive& open) {
        const off_t base = whence == SEEK_SET   ? 0
                           : whence == SEEK_CUR ? open.position
                                                : blockDeviceSize(*open.drive);
        if ((whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) || base + offset < 0)
            errno = EINVAL;
        else
            result = open.position = base + offset;
    });
    return emulated ? result : next<off_t(int, off_t, int)>(name)(fd, offset, whence);
}

} // namespace

// ---- The C library functions through which libcdio and the project reach a drive

#define INTERPOSED extern "C" __attribute__((visibility("default")))

#define INTERPOSE_OPEN(name)                                                                                 \
    INTERPOSED int name(const char* path, int flags, ...)                                                    \
    {                                                                                                        \
        va_list arguments;                                                                                   \
        va_start(arguments, flags);                                                                          \
        const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;                     \
        const mode_t mode = creates ? va_arg(arguments, mode_t) : 0;                                         \
        va_end(arguments);                                                                                   \
        return openPath(#name, path, flags, mode);                                                           \
    }                                                                                                        \
    INTERPOSED int __##name##_2(const char* path, int flags)                                                 \
    {                                                                                                        \
        return openPath(#name, path, flags, 0);                                                              \
    }
INTERPOSE_OPEN(open)
INTERPOSE_OPEN(open64)

#define INTERPOSE_STAT(name, Status)                                                                         \
    INTERPOSED int name(const char* path, Status* status) noexcept                                           \
    {                                                                                                        \
        return statPath(path, status, next<int(const char*, Status*)>(#name));                               \
    }
INTERPOSE_STAT(stat, struct stat)
INTERPOSE_STAT(lstat, struct stat)
INTERPOSE_STAT(stat64, struct stat64)
INTERPOSE_STAT(lstat64, struct stat64)

#define INTERPOSE_FSTAT(name, Status)                                                                        \
    INTERPOSED int name(int fd, Status* status) noexcept                                                     \
    {                                                                                                        \
        if (withOpenDrive(fd, [status](OpenDrive& open) { describeNode(open.index, *status); }))             \
            return 0;                                                                                        \
        return next<int(int, Status*)>(#name)(fd, status);                                                   \
    }
INTERPOSE_FSTAT(fstat, struct stat)
INTERPOSE_FSTAT(fstat64, struct stat64)

INTERPOSED int statx(int directory, const char* path, int flags, unsigned mask, struct statx* status) noexcept
{
    const auto real = next<int(int, const char*, int, unsigned, struct statx*)>("statx");
    return statPath(path, status, [&](const char* name, struct statx* found) {
        return real(directory, name, flags, mask, found);
    });
}

INTERPOSED int close(int fd)
{
    {
        const std::lock_guard<std::mutex> lock(emulator().mutex);
        emulator().open.erase(fd);
    }
    return next<int(int)>("close")(fd);
}

INTERPOSED ssize_t read(int fd, void* buffer, size_t count)
{
    ssize_t result = -1;
    if (withOpenDrive(fd, [&](OpenDrive& open) {
            result = readBlocks(*open.drive, open.position, buffer, count);
            open.position += result > 0 ? result : 0;
        }))
        return result;
    return next<ssize_t(int, void*, size_t)>("read")(fd, buffer, count);
}

INTERPOSED off_t lseek(int fd, off_t offset, int whence) noexcept
{
    return seek("lseek", fd, offset, whence);
}

INTERPOSED off64_t lseek64(int fd, off64_t offset, int whence) noexcept
{
    return seek("lseek64", fd, offset, whence);
}

INTERPOSED int ioctl(int fd, unsigned long request, ...) noexcept
{
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    int result = -1;
    if (withOpenDrive(fd, [&](OpenDrive& open) {
            const uint64_t before = open.drive->counters.commands;
            result = driveIoctl(*open.drive, request, argument);
            if (!open.used && open.drive->counters.commands != before) {
                open.used = true;
                ++open.drive->counters.opens;
            }
        }))
        return result;
    return next<int(int, unsigned long, ...)>("ioctl")(fd, request, argument);
}

// Mounted ISO 9660 and UDF file systems are where libcdio looks for drives beyond the /dev names.
INTERPOSED struct mntent* getmntent(FILE* stream) noexcept
{
    struct mntent* entry = nullptr;
    auto* real = next<struct mntent*(FILE*)>("getmntent");
    while ((entry = real(stream)) != nullptr)
        if (std::strcmp(entry->mnt_type, "iso9660") != 0 && std::strcmp(entry->mnt_type, "udf") != 0)
            break;
    return entry;
}
