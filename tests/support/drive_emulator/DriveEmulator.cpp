// A CD-drive emulator, preloaded (LD_PRELOAD) into a test process: the device paths named in
// EMULATED_DRIVES behave as Linux CD drives to libcdio (the sr driver's ioctls, MMC commands through
// CDROM_SEND_PACKET and SG_IO, the 2048-byte block device), and every other drive name libcdio looks
// for is hidden. Its discs come from the disc-image writer, never from the library under test.
//
// EMULATED_DRIVES lists drives separated by ";": a device path, behaviour words, then the disc as
// mkdisc's track words ("audio:300,pregap=33 mode1:500", "/" between sessions; none: an empty
// drive). README.md ("CD-drive emulator") documents the behaviour words; besides them, older-toc
// knows READ TOC's format only in byte 9, as drives before MMC did. A description the emulator
// cannot read stops the process: every test relying on it would fail in obscure ways.
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
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <unordered_map>

namespace {

using driveemulator::DriveCounters;
using mkdisc::TrackMode;
using Bytes = std::vector<uint8_t>;
using Sense = std::array<uint8_t, 18>; // fixed format, as a drive returns it with CHECK CONDITION
constexpr int kEveryRead = -1;
constexpr uint32_t kLeadIn = mkdisc::kLeadInFrames;
constexpr int64_t kSectorBytes = mkdisc::kRawSectorBytes; // signed: a read offset reaches before the disc

int fail(int error)
{
    return errno = error, -1;
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

uint32_t bigEndian(const uint8_t* bytes, int count)
{
    return count == 0 ? 0 : bigEndian(bytes, count - 1) << 8 | bytes[count - 1];
}

Bytes& putBigEndian(Bytes& out, uint32_t value, int count)
{
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
    return out;
}

// Minutes, seconds and frames of an absolute address, in binary or BCD.
Bytes msf(uint32_t absoluteFrame, bool bcd = false)
{
    const discgeometry::Msf at = discgeometry::toMsf(absoluteFrame);
    const auto put = [bcd](uint32_t value) {
        return bcd ? discgeometry::toBcd(value) : static_cast<uint8_t>(value);
    };
    return {put(at.minutes), put(at.seconds), put(at.frames)};
}

int64_t msfToLba(const uint8_t* at)
{
    return (at[0] * 60 + at[1]) * 75 + at[2] - int64_t{kLeadIn};
}

// Drives before MMC took READ TOC's format from the two top bits of byte 9, where the kernel still puts it.
uint8_t tocFormat(const uint8_t* cdb)
{
    return (cdb[2] & 0x0F) != 0 ? cdb[2] & 0x0F : cdb[9] >> 6;
}

uint32_t blockCount(const uint8_t* cdb) // of READ CD or READ CD MSF
{
    return cdb[0] == 0xBE
               ? bigEndian(cdb + 6, 3)
               : static_cast<uint32_t>(std::max<int64_t>(msfToLba(cdb + 6) - msfToLba(cdb + 3), 0));
}

// Sense data of a failed command, VALID with the failing LBA of a read.
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

struct Track
{
    uint8_t number, session, control; // control: the Q sub-channel's CONTROL nibble
    TrackMode mode;
    uint32_t startLba;
};

struct Session
{
    uint8_t number, firstTrack, lastTrack, type; // type: 0x00 CD-DA or CD-ROM, 0x20 CD-ROM XA
    uint32_t leadOutLba;
};

// One emulated drive: what EMULATED_DRIVES says of it, its disc, and what it has done. Callers hold
// its lock for a whole command, as a drive serves one at a time.
struct Drive
{
    std::string path;
    unsigned readyAfter = 0, delayUs = 0, commandUs = 0, sectorUs = 0, maxSectorsKb = 120;
    std::map<uint32_t, int> mediumErrors, noisy, c2Errors; // LBA to faulty reads left, or kEveryRead
    std::set<uint32_t> unstable;
    bool bcdToc = false, noFullToc = false, olderToc = false, noC2 = false, noSpeed = false;
    int readOffset = 0;
    std::string mcn, cdTextFile, countersFile; // no CD-Text file: READ TOC format 5 is refused
    std::map<uint8_t, std::string> isrcs;

    mkdisc::DiscDescription disc;
    std::vector<Track> tracks; // none: the drive is empty
    std::vector<Session> sessions;

    std::mutex mutex;
    DriveCounters counters;
    Sense lastSense = kNoSense; // for REQUEST SENSE; reading it clears it
    int64_t lastReadLba = 0;
    unsigned notReadyAnswers = 0;
    std::map<int64_t, unsigned> unstableReads;
    timespec arrival{}, busyUntil{}; // sleeping to busyUntil absorbs each sleep's overshoot
    mkdisc::Sector bytes{};          // the last sector read
    std::vector<uint16_t> altered;   // its bytes that differ from the disc's, for C2 error pointers

    Reply send(const uint8_t* cdb);
    const Track& track(uint8_t number) const { return tracks[number - 1u]; }
    mkdisc::Sector sector(int64_t lba) const { return mkdisc::sectorAt(disc, static_cast<uint32_t>(lba)); }
    uint32_t lastLeadOutLba() const { return sessions.back().leadOutLba; }
    off_t blockDeviceSize() const { return tracks.empty() ? 0 : off_t{lastLeadOutLba()} * 2048; }

    // False when the word is no behaviour word, and so a track word; std::invalid_argument for a bad one.
    bool parseBehaviour(const std::string& word)
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
        if (equals != std::string::npos && (key == "cmd-us" || key == "sector-us")) {
            for (const std::string& part : split(word, ',')) {
                const size_t at = part.find('=');
                const auto us =
                    static_cast<unsigned>(number(at == std::string::npos ? "" : part.substr(at + 1)));
                if (part.substr(0, at) != "cmd-us" && part.substr(0, at) != "sector-us")
                    throw std::invalid_argument("bad speed model in \"" + word + "\"");
                (part.substr(0, at) == "cmd-us" ? commandUs : sectorUs) = us;
            }
            return true;
        }
        const size_t times = value.find('x'), colon = value.find(':'); // LBAxN: the first N reads only
        const auto fault = [&](std::map<uint32_t, int>& faults) {
            faults[static_cast<uint32_t>(number(value.substr(0, times)))] =
                times == std::string::npos ? kEveryRead : static_cast<int>(number(value.substr(times + 1)));
        };
        const std::pair<const char*, std::function<void()>> valued[] = {
            {"ready-after", [&] { readyAfter = static_cast<unsigned>(number(value)); }},
            {"delay-us", [&] { delayUs = static_cast<unsigned>(number(value)); }},
            {"max-sectors-kb", [&] { maxSectorsKb = static_cast<unsigned>(number(value)); }},
            {"offset", [&] { readOffset = static_cast<int>(number(value)); }},
            {"unstable", [&] { unstable.insert(static_cast<uint32_t>(number(value))); }},
            {"medium-error", [&] { fault(mediumErrors); }},
            {"noisy", [&] { fault(noisy); }},
            {"c2-error", [&] { fault(c2Errors); }},
            {"mcn", [&] { mcn = value; }},
            {"cdtext", [&] { cdTextFile = value; }},
            {"counters", [&] { countersFile = value; }},
            {"isrc",
             [&] { isrcs[static_cast<uint8_t>(number(value.substr(0, colon)))] = value.substr(colon + 1); }}};
        for (const auto& [name, flag] : {std::pair{"bcd-toc", &bcdToc},
                                         {"no-full-toc", &noFullToc},
                                         {"older-toc", &olderToc},
                                         {"no-c2", &noC2},
                                         {"no-speed", &noSpeed}})
            if (word == name)
                return *flag = true;
        for (const auto& [name, parse] : valued)
            if (key == name && (key != "isrc" || colon != std::string::npos))
                return parse(), true;
        return false;
    }

    // Lays the disc out as the disc-image writer does; std::invalid_argument for one no disc can be.
    void layOutDisc()
    {
        const mkdisc::DiscLayout layout = mkdisc::layoutOf(disc);
        for (size_t s = 0; s < disc.sessions.size(); ++s) {
            Session session{static_cast<uint8_t>(s + 1), 0, 0, 0x00, layout.sessionLeadOutLba[s]};
            for (const mkdisc::TrackDescription& written : disc.sessions[s].tracks) {
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

    // The track whose pregap or body holds the sector; none in a lead-out or between sessions.
    const Track* trackAt(int64_t lba) const
    {
        for (const Session& s : sessions) {
            const int64_t start =
                s.number == 1 ? 0 : sessions[s.number - 2u].leadOutLba + int64_t{mkdisc::kSessionGapFrames};
            if (lba < start || lba >= s.leadOutLba)
                continue;
            const Track* holder = &track(s.firstTrack); // sectors before it are its pregap
            for (const Track& t : tracks)
                holder = t.session == s.number && t.startLba <= lba ? &t : holder;
            return holder;
        }
        return nullptr;
    }

    // Audio as a drive whose audio starts readOffset samples late delivers it: at each place what the
    // disc holds that much earlier, silence outside the disc's audio tracks.
    mkdisc::Sector audioSector(int64_t lba) const
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

    // Why a command that needs the disc fails now; a drive becoming ready gets closer with each answer.
    std::optional<Sense> mediumState()
    {
        if (tracks.empty() || notReadyAnswers < readyAfter)
            return tracks.empty() ? kNoMedium : (++notReadyAnswers, kBecomingReady);
        return std::nullopt;
    }

    // The sector as the drive delivers it into bytes: audio shifted by the read offset, faults applied.
    std::optional<Sense> readSector(int64_t lba)
    {
        const Track* track = trackAt(lba);
        if (track == nullptr)
            return kOutOfRange;
        if (delayUs > 0)
            ::usleep(delayUs);
        lastReadLba = lba;
        const auto at = static_cast<uint32_t>(lba);
        const auto faulty = [at](std::map<uint32_t, int>& faults) { // this read has the fault, one less left
            const auto fault = faults.find(at);
            if (fault == faults.end() || fault->second == 0)
                return false;
            fault->second -= fault->second > 0 ? 1 : 0;
            return true;
        };
        if (faulty(mediumErrors))
            return sense(3, 0x11, 0, at); // unrecovered read error
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
    void serve(bool readCd, uint32_t blocks)
    {
        ++counters.commands;
        counters.readCdCommands += readCd ? 1 : 0;
        counters.sectorsRead += blocks;
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

    // ---- MMC commands, whichever transport carries them

    Reply readToc(const uint8_t* cdb)
    {
        const bool inMsf = cdb[1] & 0x02;
        const uint8_t from = cdb[6];
        Bytes items;
        const auto putTrack = [&](const Track& track, uint8_t number, uint32_t lba) {
            items.insert(items.end(), {0, static_cast<uint8_t>(0x10 | track.control), number, 0});
            const Bytes at = msf(lba + kLeadIn);
            if (inMsf)
                items.insert(items.end(), {0, at[0], at[1], at[2]});
            else
                putBigEndian(items, lba, 4);
        };
        // A0, A1, A2, the tracks and B0 (where the next session may start) of the full TOC.
        const auto item = [&](const Session& s, int adrControl, uint8_t point, const Bytes& p) {
            items.insert(items.end(), {s.number, static_cast<uint8_t>(adrControl), 0, point, 0, 0, 0, 0, p[0],
                                       p[1], p[2]});
        };
        const auto number = [this](uint8_t value) { return bcdToc ? discgeometry::toBcd(value) : value; };
        if ((cdb[2] & 0x0F) != 0 && olderToc)
            return {{}, kInvalidField};
        uint8_t first = 1, last = sessions.back().number; // the header's
        switch (tocFormat(cdb)) {
        case 0: // from track `from` on, then the lead-out of the last session
            if (from > tracks.back().number && from != 0xAA)
                return {{}, kInvalidField};
            for (const Track& t : tracks)
                if (t.number >= (from == 0xAA ? 100 : from))
                    putTrack(t, t.number, t.startLba);
            putTrack(tracks.back(), 0xAA, lastLeadOutLba());
            std::tie(first, last) = std::pair(tracks.front().number, tracks.back().number);
            break;
        case 1: // the first track of the last session and where it starts
            putTrack(track(sessions.back().firstTrack), sessions.back().firstTrack,
                     track(sessions.back().firstTrack).startLba);
            break;
        case 2: // every session from `from` on
            if (noFullToc || from > sessions.size())
                return {{}, kInvalidField};
            for (const Session& s : sessions) {
                if (s.number < from)
                    continue;
                item(s, 0x10 | track(s.firstTrack).control, 0xA0, {number(s.firstTrack), s.type, 0});
                item(s, 0x10 | track(s.lastTrack).control, 0xA1, {number(s.lastTrack), 0, 0});
                item(s, 0x10 | track(s.lastTrack).control, 0xA2, msf(s.leadOutLba + kLeadIn, bcdToc));
                for (const Track& t : tracks)
                    if (t.session == s.number)
                        item(s, 0x10 | t.control, number(t.number), msf(t.startLba + kLeadIn, bcdToc));
                if (s.number < sessions.size())
                    item(s, 0x50, 0xB0, msf(s.leadOutLba + mkdisc::kSessionGapFrames + kLeadIn, bcdToc));
            }
            break;
        case 5: { // CD-Text, the reply whole
            std::ifstream file(cdTextFile, std::ios::binary);
            if (cdTextFile.empty() || !file)
                return {{}, kInvalidField}; // a disc without CD-Text
            return answer(Bytes(std::istreambuf_iterator<char>(file), {}), bigEndian(cdb + 7, 2));
        }
        default: // no PMA, no ATIP on a pressed disc
            return {{}, kInvalidField};
        }
        Bytes reply; // the length field counts the bytes after itself
        putBigEndian(reply, static_cast<uint32_t>(items.size() + 2), 2).insert(reply.end(), {first, last});
        reply.insert(reply.end(), items.begin(), items.end());
        return answer(reply, bigEndian(cdb + 7, 2));
    }

    Reply readSubChannel(const uint8_t* cdb)
    {
        const uint8_t format = cdb[3];
        Bytes data{format, 0, 0, 0};
        if (format == 1) { // the current position: the last sector read, in its track
            const int64_t lba = lastReadLba;
            const Track* track = trackAt(lba);
            if (track != nullptr) {
                data = {1, static_cast<uint8_t>(track->control | 1 << 4), track->number,
                        uint8_t{lba >= track->startLba}};
                for (const int64_t address : {lba, lba - int64_t{track->startLba}}) {
                    const Bytes at = msf(static_cast<uint32_t>(address + (address == lba ? kLeadIn : 0)));
                    if (cdb[1] & 0x02)
                        data.insert(data.end(), {0, at[0], at[1], at[2]});
                    else
                        putBigEndian(data, static_cast<uint32_t>(address), 4);
                }
            }
        } else if (format == 2 ||
                   format == 3) { // the MCN or a track's ISRC, MCVAL or TCVAL when there is one
            const std::string code = format == 2 ? mcn : isrcs.count(cdb[6]) ? isrcs[cdb[6]] : "";
            data.resize(20);
            data[4] = code.empty() ? 0 : 0x80;
            std::copy(code.begin(), code.end(), data.begin() + 5);
        } else {
            return {{}, kInvalidField};
        }
        Bytes reply{0, 0x15, 0, static_cast<uint8_t>(data.size())}; // audio status: none
        reply.insert(reply.end(), data.begin(), data.end());
        return answer(reply, bigEndian(cdb + 7, 2));
    }

    // READ CD and READ CD MSF. Byte 1 bits 4-2: the expected sector type (0 any, 1 CD-DA, 2 mode 1, 3-5
    // mode 2); byte 9: sync 0x80, header 0x20, user data 0x10, EDC/ECC 0x08, C2 pointers 0x02 (0x04:
    // with the block error byte); byte 10 bits 2-0: sub-channel, 2 for Q, the only one the drive offers.
    Reply readCd(const uint8_t* cdb)
    {
        const uint8_t type = cdb[1] >> 2 & 0x07, fields = cdb[9], subChannel = cdb[10] & 0x07;
        Reply reply;
        const int64_t first =
            cdb[0] == 0xBE ? int64_t{static_cast<int32_t>(bigEndian(cdb + 2, 4))} : msfToLba(cdb + 3);
        for (int64_t lba = first; lba < first + blockCount(cdb); ++lba) {
            const Track* track = trackAt(lba);
            const TrackMode mode = track ? track->mode : TrackMode::Audio;
            std::optional<Sense> failed;
            if (track == nullptr)
                failed = kOutOfRange;
            else if (!(type == 0 || (type == 1 && mode == TrackMode::Audio) ||
                       (type == 2 && mode == TrackMode::Mode1Raw) ||
                       (type >= 3 && type <= 5 && mode == TrackMode::Mode2Raw)))
                failed = kIllegalModeForTrack;
            else if ((noC2 && (fields & 0x06) != 0) || (subChannel != 0 && subChannel != 2))
                failed = kInvalidField;
            else
                failed = readSector(lba);
            if (failed)
                return {{}, failed};
            // The main channel's fields, in order: an audio sector is all user data.
            const size_t userEnd = mode == TrackMode::Mode1Raw ? 2064 : bytes.size();
            const size_t bounds[] = {0, 12, 16, userEnd, bytes.size()};
            const uint8_t bits[] = {0x80, 0x20, 0x10, 0x08};
            for (int part = 0; part < 4; ++part)
                if (mode == TrackMode::Audio ? part == 2 && (fields & 0x10) != 0 : (fields & bits[part]) != 0)
                    reply.data.insert(reply.data.end(),
                                      bytes.begin() +
                                          static_cast<long>(mode == TrackMode::Audio ? 0 : bounds[part]),
                                      bytes.begin() + static_cast<long>(bounds[part + 1]));
            if ((fields & 0x06) != 0) { // one bit per byte, most significant first
                Bytes pointers(discgeometry::kC2PointerBytes, 0);
                for (const uint16_t offset : altered)
                    pointers[offset / 8] |= static_cast<uint8_t>(0x80 >> offset % 8);
                if ((fields & 0x04) != 0) // the block error byte ORs them all
                    reply.data.insert(reply.data.end(), {static_cast<uint8_t>(altered.empty() ? 0 : 1), 0});
                reply.data.insert(reply.data.end(), pointers.begin(), pointers.end());
            }
            if (subChannel == 2) { // mode-1 Q, the time in the track counting down to INDEX 01 in the pregap
                const bool pregap = lba < track->startLba;
                const Bytes relative =
                    msf(static_cast<uint32_t>(pregap ? track->startLba - lba : lba - track->startLba), true);
                const Bytes absolute = msf(static_cast<uint32_t>(lba + kLeadIn), true);
                Bytes q{static_cast<uint8_t>(track->control << 4 | 1),
                        discgeometry::toBcd(track->number),
                        uint8_t{!pregap},
                        relative[0],
                        relative[1],
                        relative[2],
                        0,
                        absolute[0],
                        absolute[1],
                        absolute[2]};
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
    Reply modeSense(const uint8_t* cdb)
    {
        const uint8_t page = cdb[2] & 0x3F;
        const bool tenBytes = cdb[0] == 0x5A;
        if (page != 0x2A && page != 0x3F)
            return {{}, kInvalidField};
        Bytes reply = tenBytes ? Bytes{0, 22 + 6, 0, 0, 0, 0, 0, 0} : Bytes{22 + 3, 0, 0, 0};
        reply.insert(reply.end(), {0x2A, 20, 0, 0, 0x41, static_cast<uint8_t>(noC2 ? 0x67 : 0x77), 0x29});
        reply.resize(reply.size() + 15);
        return answer(reply, tenBytes ? bigEndian(cdb + 7, 2) : cdb[4]);
    }

    Reply setCdSpeed(const uint8_t* cdb)
    {
        if (counters.setSpeedCommands < std::size(counters.readSpeedsKbs))
            counters.readSpeedsKbs[counters.setSpeedCommands] = static_cast<uint16_t>(bigEndian(cdb + 2, 2));
        ++counters.setSpeedCommands;
        return noSpeed ? Reply{{}, kInvalidOpcode} : Reply{};
    }

    // ---- The sr driver's ioctls, answered mostly by sending MMC commands, as the kernel does

    // The ioctl's result, or -1 with errno set. The caller holds the drive's lock.
    int ioctl(unsigned long request, void* argument)
    {
        Reply reply;
        // Sends the command; on CHECK CONDITION, errno as the kernel sets it: ENOMEDIUM without a disc.
        const auto ask = [&](std::initializer_list<uint8_t> command) {
            uint8_t cdb[16] = {};
            std::copy(command.begin(), command.end(), cdb);
            reply = send(cdb);
            if (reply.sense)
                fail((*reply.sense)[2] == 2 && (*reply.sense)[12] == 0x3A ? ENOMEDIUM : EIO);
            return !reply.sense;
        };
        const auto discStatus = [this] {
            bool audio = false, data = false, xa = false;
            for (const Track& track : tracks) {
                audio |= track.mode == TrackMode::Audio;
                data |= track.mode != TrackMode::Audio;
                xa |= track.mode == TrackMode::Mode2Raw;
            }
            return mediumState()   ? CDS_NO_DISC
                   : audio && data ? CDS_MIXED
                   : xa            ? CDS_XA_2_1
                   : data          ? CDS_DATA_1
                                   : CDS_AUDIO;
        };
        switch (request) {
        case CDROM_GET_CAPABILITY:
            return CDC_CLOSE_TRAY | CDC_OPEN_TRAY | CDC_LOCK | CDC_SELECT_SPEED | CDC_MULTI_SESSION |
                   CDC_MCN | CDC_MEDIA_CHANGED | CDC_PLAY_AUDIO | CDC_RESET | CDC_DRIVE_STATUS |
                   CDC_GENERIC_PACKET;
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
            const uint8_t* descriptor = reply.data.data() + 4;
            entry.cdte_adr = descriptor[1] >> 4;
            entry.cdte_ctrl = descriptor[1] & 0x0F;
            if (msf)
                entry.cdte_addr.msf = {descriptor[5], descriptor[6], descriptor[7]};
            else
                entry.cdte_addr.lba = static_cast<int>(bigEndian(descriptor + 4, 4));
            entry.cdte_datamode = (entry.cdte_ctrl & CDROM_DATA_TRACK) ? 1 : 0;
            return 0;
        }
        case CDROMMULTISESSION: { // READ TOC's older form; no later session when track 1 starts the last
            auto& info = *static_cast<cdrom_multisession*>(argument);
            if (info.addr_format != CDROM_MSF && info.addr_format != CDROM_LBA)
                return fail(EINVAL);
            if (!ask({0x43, 0, 0, 0, 0, 0, 0, 0, 12, 0x40}))
                return -1;
            const uint32_t lba = reply.data[6] <= 1 ? 0 : bigEndian(reply.data.data() + 8, 4);
            const Bytes at = msf(lba + kLeadIn);
            if (info.addr_format == CDROM_MSF)
                info.addr.msf = {at[0], at[1], at[2]};
            else
                info.addr.lba = static_cast<int>(lba);
            info.xa_flag = discStatus() == CDS_XA_2_1;
            return 0;
        }
        case CDROM_GET_MCN:
            if (!ask({0x42, 0, 0x40, 2, 0, 0, 0, 0, 24}))
                return -1;
            std::memcpy(static_cast<cdrom_mcn*>(argument)->medium_catalog_number, reply.data.data() + 9, 13);
            static_cast<cdrom_mcn*>(argument)->medium_catalog_number[13] = 0;
            return 0;
        case CDROM_DISC_STATUS:
            return discStatus();
        case CDROM_DRIVE_STATUS:
            return tracks.empty() ? CDS_NO_DISC : CDS_DISC_OK;
        case CDROM_SEND_PACKET: { // the sense and EIO, or the transfer and buflen the residual count
            auto& command = *static_cast<cdrom_generic_command*>(argument);
            reply = send(command.cmd);
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
            reply = send(cdb);
            const size_t count = std::min<size_t>(reply.data.size(), io.dxfer_len);
            // CHECK CONDITION, the same shifted right, no host status, DRIVER_SENSE
            std::tie(io.status, io.masked_status, io.host_status, io.driver_status) =
                reply.sense ? std::tuple(2, 1, 0, 8) : std::tuple(0, 0, 0, 0);
            io.sb_len_wr =
                reply.sense ? static_cast<unsigned char>(std::min<size_t>(reply.sense->size(), io.mx_sb_len))
                            : 0;
            if (reply.sense)
                std::memcpy(io.sbp, reply.sense->data(), io.sb_len_wr);
            else if (count > 0)
                std::memcpy(io.dxferp, reply.data.data(), count);
            io.resid = static_cast<int>(io.dxfer_len - (reply.sense ? 0 : count));
            return 0;
        }
        case CDROMSUBCHNL:
            if (std::optional<Sense> state = mediumState())
                return fail((*state)[12] == 0x3A ? ENOMEDIUM : EIO);
            static_cast<cdrom_subchnl*>(argument)->cdsc_audiostatus = CDROM_AUDIO_NO_STATUS;
            return 0;
        case DVD_READ_STRUCT: // a CD-only drive
            return fail(ENOSYS);
        case BLKSECTGET: // in 512-byte units
            *static_cast<unsigned short*>(argument) = static_cast<unsigned short>(maxSectorsKb * 2);
            return 0;
        case driveemulator::kReadDriveCounters:
            *static_cast<DriveCounters*>(argument) = counters;
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

    // Reads through the 2048-byte block device, as libcdio reads mode-1 sectors: their user data from
    // byte `position` on, or -1 with errno set: EIO for an audio sector or a failing one, as the kernel
    // refuses cooked reads of audio.
    ssize_t readBlocks(off_t position, void* buffer, size_t count)
    {
        if (std::optional<Sense> state = mediumState())
            return fail((*state)[12] == 0x3A ? ENOMEDIUM : EIO);
        size_t done = 0;
        for (off_t at = position; done < count && at < blockDeviceSize();
             at = position + static_cast<off_t>(done)) {
            const Track* track = trackAt(at / 2048);
            if (track == nullptr || track->mode != TrackMode::Mode1Raw || readSector(at / 2048))
                return done > 0 ? static_cast<ssize_t>(done) : fail(EIO);
            const size_t within = static_cast<size_t>(at % 2048),
                         part = std::min(count - done, 2048 - within);
            std::memcpy(static_cast<uint8_t*>(buffer) + done, bytes.data() + 16 + within, part);
            done += part;
        }
        return static_cast<ssize_t>(done);
    }
};

const std::string kIdentity = "EMULATEDCD-ROM DRIVE    1.0 "; // INQUIRY's vendor, product, revision

// Each opcode the drive knows, whether it needs the disc, and its answer.
const std::tuple<uint8_t, bool, Reply (*)(Drive&, const uint8_t*)> kCommands[] = {
    {0x00, false,
     [](Drive& d, const uint8_t*) {
         return Reply{{}, d.mediumState()};
     }}, // TEST UNIT READY
    {0x03, false,
     [](Drive& d, const uint8_t* cdb) {
         return answer({d.lastSense.begin(), d.lastSense.end()}, cdb[4]);
     }},
    {0x12, false, // INQUIRY: a CD/DVD device with a removable medium
     [](Drive&, const uint8_t* cdb) {
         Bytes reply{0x05, 0x80, 0x05, 0x32, 31, 0, 0, 0};
         reply.insert(reply.end(), kIdentity.begin(), kIdentity.end());
         return answer(reply, bigEndian(cdb + 3, 2));
     }},
    {0x1A, false, [](Drive& d, const uint8_t* cdb) { return d.modeSense(cdb); }},
    {0x5A, false, [](Drive& d, const uint8_t* cdb) { return d.modeSense(cdb); }},
    {0x25, true, // READ CAPACITY: the last block, 2048 bytes each
     [](Drive& d, const uint8_t*) {
         Bytes reply;
         return answer(putBigEndian(putBigEndian(reply, d.lastLeadOutLba() - 1, 4), 2048, 4), 8);
     }},
    {0x42, true, [](Drive& d, const uint8_t* cdb) { return d.readSubChannel(cdb); }},
    {0x43, true, [](Drive& d, const uint8_t* cdb) { return d.readToc(cdb); }},
    {0x46, false, // GET CONFIGURATION: the current profile, then the profile list naming CD-ROM, current
     [](Drive&, const uint8_t* cdb) {
         return answer({0, 0, 0, 16, 0, 0, 0, 8, 0, 0, 3, 4, 0, 8, 1, 0}, bigEndian(cdb + 7, 2));
     }},
    {0xB9, true, [](Drive& d, const uint8_t* cdb) { return d.readCd(cdb); }},
    {0xBE, true, [](Drive& d, const uint8_t* cdb) { return d.readCd(cdb); }},
    {0xBB, false, [](Drive& d, const uint8_t* cdb) { return d.setCdSpeed(cdb); }},
};

// Answers one command descriptor block; anything the drive does not know is ILLEGAL REQUEST,
// INVALID COMMAND OPERATION CODE. The sr driver retries a command that meets a drive becoming ready
// ten times.
Reply Drive::send(const uint8_t* cdb)
{
    Reply reply{{}, kBecomingReady};
    for (int tries = 0; tries <= 10 && reply.sense == kBecomingReady; ++tries) {
        ::clock_gettime(CLOCK_MONOTONIC, &arrival);
        counters.tocReads += cdb[0] == 0x43 && tocFormat(cdb) == 0 && cdb[6] == 0 ? 1 : 0;
        reply = {{}, kInvalidOpcode};
        for (const auto& [opcode, needsDisc, respond] : kCommands)
            if (opcode == cdb[0]) {
                const std::optional<Sense> state = needsDisc ? mediumState() : std::nullopt;
                reply = state ? Reply{{}, state} : respond(*this, cdb);
            }
        const bool readCd = cdb[0] == 0xBE || cdb[0] == 0xB9;
        serve(readCd, readCd && !reply.sense ? blockCount(cdb) : 0);
        if (cdb[0] == 0x03)
            lastSense = kNoSense;
        else if (reply.sense)
            lastSense = *reply.sense;
    }
    return reply;
}

// ---- The drives of this process, and the file descriptors open on them

struct OpenDrive
{
    Drive* drive;
    unsigned index; // among the emulated drives: the node's minor number
    off_t position = 0;
    bool used = false; // a command went through it: counted among the drive's opens
};

// Never destroyed: other libraries' destructors may still close descriptors at exit.
struct Emulator
{
    std::vector<std::unique_ptr<Drive>> drives;
    std::mutex mutex;
    std::unordered_map<int, OpenDrive> open;

    static Emulator& get()
    {
        static Emulator* const instance = [] {
            auto* created = new Emulator;
            const char* list = std::getenv("EMULATED_DRIVES");
            try {
                for (const std::string& entry : split(list != nullptr ? list : "", ';')) {
                    const std::vector<std::string> words = split(entry, ' ');
                    if (words.empty())
                        continue;
                    Drive& drive = *created->drives.emplace_back(std::make_unique<Drive>());
                    drive.path = words.front();
                    std::vector<std::string> trackWords;
                    for (size_t i = 1; i < words.size(); ++i)
                        if (!(trackWords.empty() && drive.parseBehaviour(words[i])))
                            trackWords.push_back(words[i]);
                    if (!trackWords.empty())
                        drive.disc.sessions = mkdisc::parseSessionWords(trackWords);
                }
                for (const std::unique_ptr<Drive>& drive : created->drives)
                    if (!drive->disc.sessions.empty())
                        drive->layOutDisc();
            } catch (const std::invalid_argument& error) {
                std::fprintf(stderr, "drive emulator: EMULATED_DRIVES: %s\n", error.what());
                std::abort();
            }
            std::atexit([] { get().writeCountersFiles(); });
            return created;
        }();
        return *instance;
    }

    // The drive's number among the emulated ones; -1 for a path of none.
    int indexOf(const char* path) const
    {
        for (size_t i = 0; path != nullptr && i < drives.size(); ++i)
            if (drives[i]->path == path)
                return static_cast<int>(i);
        return -1;
    }

    // Runs f(OpenDrive&) under the drive's lock when fd is open on an emulated drive; false otherwise.
    template <class F> bool withOpenDrive(int fd, F&& f)
    {
        std::unique_lock<std::mutex> tableLock(mutex);
        const auto found = open.find(fd);
        if (found == open.end())
            return false;
        OpenDrive& state = found->second; // a node's place outlives the table's lock, unlike an iterator
        tableLock.unlock();
        const std::lock_guard<std::mutex> driveLock(state.drive->mutex);
        f(state);
        return true;
    }

    void writeCountersFiles()
    {
        for (const std::unique_ptr<Drive>& drive : drives) {
            const std::lock_guard<std::mutex> lock(drive->mutex);
            const DriveCounters& counters = drive->counters;
            if (drive->countersFile.empty())
                continue;
            std::ofstream file(drive->countersFile, std::ios::trunc);
            file << "commands " << counters.commands << "\nread-cd-commands " << counters.readCdCommands
                 << "\nsectors-read " << counters.sectorsRead << "\nopens " << counters.opens
                 << "\ntoc-reads " << counters.tocReads << "\nset-speed-commands "
                 << counters.setSpeedCommands << "\nread-speeds-kbs";
            for (const uint16_t speed : counters.readSpeedsKbs)
                file << " " << speed;
            file << "\n";
        }
    }
};

// The names libcdio probes when it looks for drives (/dev/cdrom, /dev/dvd, /dev/hdX, /dev/scdN,
// /dev/srN): with the emulator loaded, the emulated drives are the machine's only drives.
bool isMachineDriveName(const char* path) noexcept
{
    const auto number = [](const char* text) {
        return *text != '\0' && std::strspn(text, "0123456789") == std::strlen(text);
    };
    const char* name = path != nullptr && std::strncmp(path, "/dev/", 5) == 0 ? path + 5 : nullptr;
    return name != nullptr && (std::strcmp(name, "cdrom") == 0 || std::strcmp(name, "dvd") == 0 ||
                               (std::strncmp(name, "hd", 2) == 0 &&
                                std::islower(static_cast<unsigned char>(name[2])) && name[3] == '\0') ||
                               (std::strncmp(name, "scd", 3) == 0 && number(name + 3)) ||
                               (std::strncmp(name, "sr", 2) == 0 && number(name + 2)));
}

template <class Function> Function* next(const char* name)
{
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

// The block device node /dev/srN would be: major 11, minor N.
template <class Status> void describeNode(unsigned index, Status& status)
{
    std::memset(&status, 0, sizeof status);
    if constexpr (std::is_same_v<Status, struct statx>) {
        status.stx_mask = STATX_BASIC_STATS;
        status.stx_mode = S_IFBLK | 0660;
        status.stx_nlink = 1;
        std::tie(status.stx_rdev_major, status.stx_rdev_minor, status.stx_ino, status.stx_blksize) =
            std::tuple(11, index, 0x5200 + index, 2048);
    } else {
        std::tie(status.st_mode, status.st_nlink, status.st_rdev, status.st_ino, status.st_blksize) =
            std::tuple(S_IFBLK | 0660, 1, makedev(11, index), 0x5200 + index, 2048);
    }
}

// stat and its kin: the emulated node, no node at all for the machine's own drives, else libc.
template <class Status, class Real> int statPath(const char* path, Status* status, Real real)
{
    const int index = Emulator::get().indexOf(path);
    if (index >= 0)
        describeNode(static_cast<unsigned>(index), *status);
    return index >= 0 ? 0 : isMachineDriveName(path) ? fail(ENOENT) : real(path, status);
}

int openPath(const char* name, const char* path, int flags, mode_t mode)
{
    using Open = int(const char*, int, ...);
    Emulator& emulator = Emulator::get();
    const int index = emulator.indexOf(path);
    if (index < 0)
        return isMachineDriveName(path) ? fail(ENOENT) : next<Open>(name)(path, flags, mode);
    // A descriptor of its own, so that its number stays taken until it is closed.
    const int fd = next<Open>("open")("/dev/null", O_RDONLY | (flags & O_CLOEXEC));
    const std::lock_guard<std::mutex> lock(emulator.mutex);
    if (fd >= 0)
        emulator.open[fd] =
            OpenDrive{emulator.drives[static_cast<size_t>(index)].get(), static_cast<unsigned>(index)};
    return fd;
}

off_t seek(const char* name, int fd, off_t offset, int whence)
{
    off_t result = -1;
    const bool emulated = Emulator::get().withOpenDrive(fd, [&](OpenDrive& open) {
        const off_t base = whence == SEEK_SET   ? 0
                           : whence == SEEK_CUR ? open.position
                                                : open.drive->blockDeviceSize();
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

// The macros take names and types, which parentheses would break.
// NOLINTBEGIN(bugprone-macro-parentheses)
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
    }                                                                                                        \
    INTERPOSED int l##name(const char* path, Status* status) noexcept                                        \
    {                                                                                                        \
        return statPath(path, status, next<int(const char*, Status*)>("l" #name));                           \
    }                                                                                                        \
    INTERPOSED int f##name(int fd, Status* status) noexcept                                                  \
    {                                                                                                        \
        const auto describe = [status](OpenDrive& open) { describeNode(open.index, *status); };              \
        return Emulator::get().withOpenDrive(fd, describe) ? 0                                               \
                                                           : next<int(int, Status*)>("f" #name)(fd, status); \
    }
INTERPOSE_STAT(stat, struct stat)
INTERPOSE_STAT(stat64, struct stat64)

#define INTERPOSE_SEEK(name, Offset)                                                                         \
    INTERPOSED Offset name(int fd, Offset offset, int whence) noexcept                                       \
    {                                                                                                        \
        return seek(#name, fd, offset, whence);                                                              \
    }
INTERPOSE_SEEK(lseek, off_t)
INTERPOSE_SEEK(lseek64, off64_t)
// NOLINTEND(bugprone-macro-parentheses)

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
        const std::lock_guard<std::mutex> lock(Emulator::get().mutex);
        Emulator::get().open.erase(fd);
    }
    return next<int(int)>("close")(fd);
}

INTERPOSED ssize_t read(int fd, void* buffer, size_t count)
{
    ssize_t result = -1;
    if (Emulator::get().withOpenDrive(fd, [&](OpenDrive& open) {
            result = open.drive->readBlocks(open.position, buffer, count);
            open.position += result > 0 ? result : 0;
        }))
        return result;
    return next<ssize_t(int, void*, size_t)>("read")(fd, buffer, count);
}

INTERPOSED int ioctl(int fd, unsigned long request, ...) noexcept
{
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    int result = -1;
    if (Emulator::get().withOpenDrive(fd, [&](OpenDrive& open) {
            const uint64_t before = open.drive->counters.commands;
            result = open.drive->ioctl(request, argument);
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
