// A drive's answers to MMC commands, whichever transport carries them: the TOC, the Q sub-channel,
// READ CD's sector fields, C2 error pointers and sense data.
#include "Drive.h"

#include <fstream>
#include <iterator>
#include <tuple>

namespace driveemulator {

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

Reply Drive::readToc(const uint8_t* cdb)
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
        items.insert(items.end(),
                     {s.number, static_cast<uint8_t>(adrControl), 0, point, 0, 0, 0, 0, p[0], p[1], p[2]});
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

Reply Drive::readSubChannel(const uint8_t* cdb)
{
    const uint8_t format = cdb[3];
    Bytes data{format, 0, 0, 0};
    if (format == 1) { // the current position: the last sector read, in its track
        const int64_t lba = lastReadLba;
        const Track* track = trackAt(lba);
        if (track != nullptr) {
            data = {1, static_cast<uint8_t>(track->control | 1 << 4), track->number, track->indexAt(lba)};
            for (const int64_t address : {lba, lba - int64_t{track->startLba}}) {
                const Bytes at = msf(static_cast<uint32_t>(address + (address == lba ? kLeadIn : 0)));
                if (cdb[1] & 0x02)
                    data.insert(data.end(), {0, at[0], at[1], at[2]});
                else
                    putBigEndian(data, static_cast<uint32_t>(address), 4);
            }
        }
    } else if (format == 2 || format == 3) { // the MCN or a track's ISRC, MCVAL or TCVAL when there is one
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
Reply Drive::readCd(const uint8_t* cdb)
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
                    track->indexAt(lba),
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
Reply Drive::modeSense(const uint8_t* cdb)
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

Reply Drive::setCdSpeed(const uint8_t* cdb)
{
    if (counters.setSpeedCommands < std::size(counters.readSpeedsKbs))
        counters.readSpeedsKbs[counters.setSpeedCommands] = static_cast<uint16_t>(bigEndian(cdb + 2, 2));
    ++counters.setSpeedCommands;
    return noSpeed ? Reply{{}, kInvalidOpcode} : Reply{};
}

} // namespace driveemulator
