// Builds READ TOC/PMA/ATIP format 2 replies byte by byte, as a drive sends them, for the
// full-TOC decoder's tests and fuzz seeds, and the replies of a few typical discs.
#pragma once

#include <cueify/full_toc.h>

#include <cstdint>
#include <vector>

namespace fulltoc {

constexpr uint8_t kAdrPosition = 1, kAdrPointers = 5; // ADR of ordinary TOC items, of B0/C0 items

class ReplyBuilder
{
public:
    ReplyBuilder(uint8_t firstSession, uint8_t lastSession) : m_reply{0, 2, firstSession, lastSession} {}

    // One 11-byte descriptor: session, ADR/CONTROL, TNO, POINT, Min, Sec, Frame, Zero, PMIN, PSEC, PFRAME.
    ReplyBuilder& item(uint8_t session, uint8_t adr, uint8_t control, uint8_t point, uint8_t pmin,
                       uint8_t psec, uint8_t pframe)
    {
        const uint8_t adrControl = static_cast<uint8_t>(adr << 4 | (control & 0x0F));
        m_reply.insert(m_reply.end(), {session, adrControl, 0, point, 0, 0, 0, 0, pmin, psec, pframe});
        m_reply[0] = static_cast<uint8_t>((m_reply.size() - 2) >> 8); // the length field counts every
        m_reply[1] = static_cast<uint8_t>(m_reply.size() - 2);        // byte after itself
        return *this;
    }

    ReplyBuilder& track(uint8_t session, uint8_t control, uint8_t number, uint8_t min, uint8_t sec,
                        uint8_t frame)
    {
        return item(session, kAdrPosition, control, number, min, sec, frame);
    }

    // A0 (first track), A1 (last track) and A2 (lead-out) of one session.
    ReplyBuilder& session(uint8_t number, uint8_t control, uint8_t firstTrack, uint8_t lastTrack,
                          uint8_t type, uint8_t leadOutMin, uint8_t leadOutSec, uint8_t leadOutFrame)
    {
        item(number, kAdrPosition, control, 0xA0, firstTrack, type, 0)
            .item(number, kAdrPosition, control, 0xA1, lastTrack, 0, 0);
        return item(number, kAdrPosition, control, 0xA2, leadOutMin, leadOutSec, leadOutFrame);
    }

    std::vector<uint8_t> bytes() const { return m_reply; }

private:
    std::vector<uint8_t> m_reply; // the header (length field, first and last session), the descriptors
};

// Tracks 1 to 3: plain, copy permitted, pre-emphasis. 70 bytes: the header, A0, A1, A2 at byte 26, tracks.
inline std::vector<uint8_t> audioDisc()
{
    ReplyBuilder reply(1, 1);
    reply.session(1, 0, 1, 3, CUEIFY_SESSION_MODE_1, 12, 30, 70).track(1, 0, 1, 0, 2, 0);
    reply.track(1, CUEIFY_TOC_TRACK_PERMITS_COPYING, 2, 4, 10, 33);
    return reply.track(1, CUEIFY_TOC_TRACK_HAS_PREEMPHASIS, 3, 8, 0, 12).bytes();
}

// Audio tracks 1 and 2, data track 3 in session 2, and the mode-5 items of a recorded session.
inline std::vector<uint8_t> enhancedCd()
{
    ReplyBuilder reply(1, 2);
    reply.session(1, 0, 1, 2, CUEIFY_SESSION_MODE_1, 20, 0, 0)
        .track(1, 0, 1, 0, 2, 0)
        .track(1, 0, 2, 9, 40, 50);
    reply.item(1, kAdrPointers, 0, 0xB0, 24, 0, 0).item(1, kAdrPointers, 0, 0xC0, 0x80, 0, 0);
    reply.item(1, kAdrPointers, 0, 1, 99, 99, 99)
        .session(2, CUEIFY_TOC_TRACK_IS_DATA, 3, 3, CUEIFY_SESSION_MODE_2, 30, 0, 0);
    return reply.track(2, CUEIFY_TOC_TRACK_IS_DATA, 3, 22, 34, 0).bytes();
}

inline std::vector<uint8_t> dataFirstDisc()
{
    ReplyBuilder reply(1, 1);
    reply.session(1, CUEIFY_TOC_TRACK_IS_DATA, 1, 2, CUEIFY_SESSION_MODE_1, 30, 0, 0);
    return reply.track(1, CUEIFY_TOC_TRACK_IS_DATA, 1, 0, 2, 0).track(1, 0, 2, 10, 0, 0).bytes();
}

// Numbers a drive passed through in BCD: 0x45 seconds cannot be binary. The session type is a
// code, not a number: it stays as the drive sent it.
inline std::vector<uint8_t> bcdDisc(uint8_t sessionType = CUEIFY_SESSION_MODE_1)
{
    ReplyBuilder reply(1, 1);
    reply.session(1, 0, 0x09, 0x10, sessionType, 0x09, 0x59, 0x74);
    return reply.track(1, 0, 0x09, 0x00, 0x02, 0x00).track(1, 0, 0x10, 0x04, 0x45, 0x33).bytes();
}

} // namespace fulltoc
