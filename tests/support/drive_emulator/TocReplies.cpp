#include "TocReplies.h"

#include "Addressing.h"

namespace driveemulator {
namespace {

constexpr uint8_t kAdrPosition = 1, kAdrPointers = 5;
constexpr uint8_t kLeadOutTrack = 0xAA;

void putBigEndian32(std::vector<uint8_t>& reply, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        reply.push_back(static_cast<uint8_t>(value >> shift));
}

void putAddress(std::vector<uint8_t>& reply, uint32_t lba, bool msf)
{
    if (!msf)
        return putBigEndian32(reply, lba);
    const std::array<uint8_t, 3> address = msfBytes(lba + mkdisc::kLeadInFrames);
    reply.insert(reply.end(), {0, address[0], address[1], address[2]});
}

// The length field counts the bytes after itself.
std::vector<uint8_t> withHeader(uint8_t first, uint8_t last, const std::vector<uint8_t>& descriptors)
{
    const size_t length = descriptors.size() + 2;
    std::vector<uint8_t> reply{static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), first, last};
    reply.insert(reply.end(), descriptors.begin(), descriptors.end());
    return reply;
}

void putTrackDescriptor(std::vector<uint8_t>& reply, uint8_t control, uint8_t number, uint32_t lba, bool msf)
{
    reply.insert(reply.end(), {0, static_cast<uint8_t>(kAdrPosition << 4 | control), number, 0});
    putAddress(reply, lba, msf);
}

class FullTocWriter
{
public:
    explicit FullTocWriter(bool bcd) : m_bcd(bcd) {}

    void item(uint8_t session, uint8_t adr, uint8_t control, uint8_t point, uint8_t pmin, uint8_t psec,
              uint8_t pframe)
    {
        m_items.insert(m_items.end(), {session, static_cast<uint8_t>(adr << 4 | control), 0, point, 0, 0, 0,
                                       0, pmin, psec, pframe});
    }

    void address(uint8_t session, uint8_t control, uint8_t point, uint32_t lba)
    {
        const Msf at = toMsf(lba + mkdisc::kLeadInFrames);
        item(session, kAdrPosition, control, point, number(at.minutes), number(at.seconds),
             number(at.frames));
    }

    uint8_t number(uint8_t value) const { return m_bcd ? toBcd(value) : value; }
    const std::vector<uint8_t>& items() const { return m_items; }

private:
    bool m_bcd;
    std::vector<uint8_t> m_items;
};

void writeSession(FullTocWriter& toc, const EmulatedDisc& disc, const DiscSession& session)
{
    const uint8_t control = disc.tracks()[session.firstTrack - 1u].control;
    const uint8_t lastControl = disc.tracks()[session.lastTrack - 1u].control;
    toc.item(session.number, kAdrPosition, control, 0xA0, toc.number(session.firstTrack), session.type, 0);
    toc.item(session.number, kAdrPosition, lastControl, 0xA1, toc.number(session.lastTrack), 0, 0);
    toc.address(session.number, lastControl, 0xA2, session.leadOutLba);
    for (const DiscTrack& track : disc.tracks())
        if (track.session == session.number)
            toc.address(session.number, track.control, toc.number(track.number), track.startLba);
    if (session.number < disc.sessions().size()) {
        // B0: where the next session's program area may start; 01: the disc's last possible lead-out.
        const Msf next = toMsf(session.leadOutLba + mkdisc::kSessionGapFrames + mkdisc::kLeadInFrames);
        toc.item(session.number, kAdrPointers, 0, 0xB0, toc.number(next.minutes), toc.number(next.seconds),
                 toc.number(next.frames));
    }
}

} // namespace

std::vector<uint8_t> ordinaryToc(const EmulatedDisc& disc, uint8_t fromTrack, bool msf)
{
    std::vector<uint8_t> descriptors;
    for (const DiscTrack& track : disc.tracks())
        if (track.number >= fromTrack)
            putTrackDescriptor(descriptors, track.control, track.number, track.startLba, msf);
    putTrackDescriptor(descriptors, disc.tracks().back().control, kLeadOutTrack, disc.lastLeadOutLba(), msf);
    return withHeader(disc.tracks().front().number, disc.tracks().back().number, descriptors);
}

std::vector<uint8_t> sessionInfo(const EmulatedDisc& disc, bool msf)
{
    const DiscSession& last = disc.sessions().back();
    const DiscTrack& first = disc.tracks()[last.firstTrack - 1u];
    std::vector<uint8_t> descriptor;
    putTrackDescriptor(descriptor, first.control, first.number, first.startLba, msf);
    return withHeader(1, last.number, descriptor);
}

std::vector<uint8_t> fullToc(const EmulatedDisc& disc, uint8_t fromSession, bool bcd)
{
    FullTocWriter toc(bcd);
    for (const DiscSession& session : disc.sessions())
        if (session.number >= fromSession)
            writeSession(toc, disc, session);
    return withHeader(1, disc.sessions().back().number, toc.items());
}

} // namespace driveemulator
