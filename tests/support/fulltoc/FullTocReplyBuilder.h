// Builds READ TOC/PMA/ATIP format 2 replies byte by byte, as a drive sends them, for the
// full-TOC decoder's tests and fuzz seeds.
#pragma once

#include <cstdint>
#include <vector>

namespace fulltoc {

constexpr uint8_t kAdrPosition = 1; // ADR of ordinary TOC items
constexpr uint8_t kAdrPointers = 5; // ADR of B0/C0 items
constexpr uint8_t kFirstTrackPoint = 0xA0;
constexpr uint8_t kLastTrackPoint = 0xA1;
constexpr uint8_t kLeadOutPoint = 0xA2;

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

    // A0, A1 and A2 of one session.
    ReplyBuilder& session(uint8_t number, uint8_t control, uint8_t firstTrack, uint8_t lastTrack,
                          uint8_t type, uint8_t leadOutMin, uint8_t leadOutSec, uint8_t leadOutFrame)
    {
        item(number, kAdrPosition, control, kFirstTrackPoint, firstTrack, type, 0);
        item(number, kAdrPosition, control, kLastTrackPoint, lastTrack, 0, 0);
        return item(number, kAdrPosition, control, kLeadOutPoint, leadOutMin, leadOutSec, leadOutFrame);
    }

    std::vector<uint8_t> bytes() const { return m_reply; }

private:
    std::vector<uint8_t> m_reply; // the header (length field, first and last session), the descriptors
};

} // namespace fulltoc
