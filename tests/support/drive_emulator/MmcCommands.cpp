// A drive's answers to MMC commands, whichever transport carries them: the TOC, the Q sub-channel,
// READ CD's sector fields, C2 error pointers and sense data.
#include "Drive.h"

#include <fstream>
#include <iterator>
#include <tuple>

namespace driveemulator {

// Each opcode the drive knows, whether it needs the disc, and its answer: what libcdio and the drive
// backend send.
const std::tuple<uint8_t, bool, Reply (*)(Drive&, const uint8_t*)> kCommands[] = {
    {0x5A, false, [](Drive& d, const uint8_t* cdb) { return d.modeSense(cdb); }},
    {0x42, true, [](Drive& d, const uint8_t* cdb) { return d.readSubChannel(cdb); }},
    {0x43, true, [](Drive& d, const uint8_t* cdb) { return d.readToc(cdb); }},
    {0xBE, true, [](Drive& d, const uint8_t* cdb) { return d.readCd(cdb); }},
    {0xBB, false, [](Drive& d, const uint8_t* cdb) { return d.setCdSpeed(cdb); }},
};

// Answers one command descriptor block; anything the drive does not know is ILLEGAL REQUEST,
// INVALID COMMAND OPERATION CODE.
Reply Drive::send(const uint8_t* cdb)
{
    ::clock_gettime(CLOCK_MONOTONIC, &arrival);
    counters.tocReads += cdb[0] == 0x43 && tocFormat(cdb) == 0 && cdb[6] == 0 ? 1 : 0;
    Reply reply{{}, kInvalidOpcode};
    for (const auto& [opcode, needsDisc, respond] : kCommands)
        if (opcode == cdb[0])
            reply = needsDisc && tracks.empty() ? Reply{{}, kNoMedium} : respond(*this, cdb);
    serve(cdb[0] == 0xBE, cdb[0] == 0xBE && !reply.sense ? bigEndian(cdb + 6, 3) : 0);
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

// The disc's MCN (format 2) or a track's ISRC (format 3), MCVAL or TCVAL when there is one.
Reply Drive::readSubChannel(const uint8_t* cdb)
{
    const uint8_t format = cdb[3];
    if (format != 2 && format != 3)
        return {{}, kInvalidField};
    const std::string code = format == 2 ? mcn : isrcs.count(cdb[6]) ? isrcs[cdb[6]] : "";
    Bytes reply(24); // the header, audio status none, then the code's 20 bytes
    std::tie(reply[1], reply[3], reply[4], reply[8]) =
        std::tuple(0x15, 20, format, static_cast<uint8_t>(code.empty() ? 0 : 0x80));
    std::copy(code.begin(), code.end(), reply.begin() + 9);
    return answer(reply, bigEndian(cdb + 7, 2));
}

// READ CD. Byte 1 bits 4-2: the expected sector type (0 any, 1 CD-DA; the drive backend asks for no
// other); byte 9: sync 0x80, header 0x20, user data 0x10, EDC/ECC 0x08, C2 pointers 0x02; byte 10
// bits 2-0: sub-channel, 2 for Q, the only one the drive offers.
Reply Drive::readCd(const uint8_t* cdb)
{
    const uint8_t type = cdb[1] >> 2 & 0x07, fields = cdb[9], subChannel = cdb[10] & 0x07;
    Reply reply;
    const int64_t first = int64_t{static_cast<int32_t>(bigEndian(cdb + 2, 4))};
    for (int64_t lba = first; lba < first + bigEndian(cdb + 6, 3); ++lba) {
        const Track* track = trackAt(lba);
        const TrackMode mode = track ? track->mode : TrackMode::Audio;
        std::optional<Sense> failed;
        if (track == nullptr)
            failed = kOutOfRange;
        else if (type > 1 || (type == 1 && mode != TrackMode::Audio))
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
        if ((fields & 0x02) != 0) { // one bit per byte, most significant first
            Bytes pointers(discgeometry::kC2PointerBytes, 0);
            for (const uint16_t offset : altered)
                pointers[offset / 8] |= static_cast<uint8_t>(0x80 >> offset % 8);
            reply.data.insert(reply.data.end(), pointers.begin(), pointers.end());
        }
        if (subChannel == 2) { // mode-1 Q: its times and CRC stay zero, as the drive backend reads none
            const uint8_t q[16] = {static_cast<uint8_t>(track->control << 4 | 1),
                                   discgeometry::toBcd(track->number), track->indexAt(lba)};
            reply.data.insert(reply.data.end(), std::begin(q), std::end(q));
        }
    }
    return reply;
}

// The capabilities page: reads CD-DA accurately, with C2 pointers if it offers them, ISRC, UPC and
// sub-channel data; audio play, multi-session; lock, eject, tray loading.
Reply Drive::modeSense(const uint8_t* cdb)
{
    const uint8_t page = cdb[2] & 0x3F;
    if (page != 0x2A && page != 0x3F)
        return {{}, kInvalidField};
    Bytes reply{0, 22 + 6, 0, 0, 0, 0, 0, 0}; // MODE SENSE (10)'s header
    reply.insert(reply.end(), {0x2A, 20, 0, 0, 0x41, static_cast<uint8_t>(noC2 ? 0x67 : 0x77), 0x29});
    reply.resize(reply.size() + 15);
    return answer(reply, bigEndian(cdb + 7, 2));
}

Reply Drive::setCdSpeed(const uint8_t* cdb)
{
    if (counters.setSpeedCommands < std::size(counters.readSpeedsKbs))
        counters.readSpeedsKbs[counters.setSpeedCommands] = static_cast<uint16_t>(bigEndian(cdb + 2, 2));
    ++counters.setSpeedCommands;
    return noSpeed ? Reply{{}, kInvalidOpcode} : Reply{};
}

} // namespace driveemulator
