// MMC defines the full TOC's addresses and track numbers as binary values: the drive converts
// the BCD of the Q sub-channel. Some old drives pass the BCD through unchanged, and nothing in the
// reply says so. A reply that cannot be binary (a seconds value of 60 or more, or a frame of 75 or
// more) is read as BCD if every number in it is valid BCD. A reply that can be either (every second
// below 40, every frame below 50) is settled by the ordinary TOC (format 0), which drives answer in
// binary: the reading whose track starts agree with it wins, binary when neither or no TOC does.
#include "core/FullTocReply.h"

#include "core/Failure.h"

#include <cueify/constants.h>
#include <cueify/error.h>
#include <cueify/full_toc.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>

namespace cueify {

namespace {

constexpr size_t kHeaderSize = 4;
constexpr size_t kLengthFieldSize = 2;
constexpr size_t kDescriptorSize = 11;
constexpr uint8_t kLeadOutPoint = 0xA2;
constexpr uint8_t kMode5Adr = 5; // B0/C0 and recordable skip intervals: no TOC item
constexpr uint8_t kLastTrackNumber = 99;
constexpr uint32_t kFramesPerSecond = 75;
constexpr uint32_t kSecondsPerMinute = 60;

struct Descriptor
{
    uint8_t session;
    uint8_t adr;
    uint8_t control;
    uint8_t point;
    uint8_t pmin;
    uint8_t psec;
    uint8_t pframe;
    uint8_t amin;
    uint8_t asec;
    uint8_t aframe;
};

Descriptor readDescriptor(const uint8_t* bytes)
{
    return Descriptor{bytes[0],
                      static_cast<uint8_t>(bytes[1] >> 4),
                      static_cast<uint8_t>(bytes[1] & 0x0F),
                      bytes[3],
                      bytes[8],
                      bytes[9],
                      bytes[10],
                      bytes[4],
                      bytes[5],
                      bytes[6]};
}

bool isBcd(uint8_t value)
{
    return (value >> 4) < 10 && (value & 0x0F) < 10;
}

uint8_t fromBcd(uint8_t value)
{
    return static_cast<uint8_t>((value >> 4) * 10 + (value & 0x0F));
}

bool isPseudoTrack(uint8_t point)
{
    return point == CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK ||
           point == CUEIFY_FULL_TOC_LAST_TRACK_PSEUDOTRACK;
}

bool isAddressed(const Descriptor& item)
{
    return item.point == kLeadOutPoint || item.point < CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK;
}

// A track point in either encoding (0x01 to 0x99) or A0, A1, A2, outside the mode-5 items.
bool isCandidate(const Descriptor& item)
{
    return item.adr != kMode5Adr && item.point != 0 && item.point <= kLeadOutPoint;
}

bool isBinaryPoint(const Descriptor& item)
{
    return item.point <= kLastTrackNumber || item.point >= CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK;
}

bool isBinaryItem(const Descriptor& item)
{
    return !isAddressed(item) || (item.psec < kSecondsPerMinute && item.pframe < kFramesPerSecond);
}

bool isBcdItem(const Descriptor& item)
{
    if (isPseudoTrack(item.point))
        return isBcd(item.pmin);
    return (item.point == kLeadOutPoint || isBcd(item.point)) && isBcd(item.pmin) && isBcd(item.psec) &&
           isBcd(item.pframe) && fromBcd(item.psec) < kSecondsPerMinute &&
           fromBcd(item.pframe) < kFramesPerSecond;
}

// Converts a BCD item to binary, leaving the session type (PSEC of A0) as the drive sent it.
Descriptor toBinary(Descriptor item)
{
    if (item.point < CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK)
        item.point = fromBcd(item.point);
    item.pmin = fromBcd(item.pmin);
    if (isAddressed(item)) {
        item.psec = fromBcd(item.psec);
        item.pframe = fromBcd(item.pframe);
    }
    item.amin = fromBcd(item.amin);
    item.asec = fromBcd(item.asec);
    item.aframe = fromBcd(item.aframe);
    return item;
}

// The TOC items read as binary, or nothing when they are not valid binary. Binary replies drop
// points 0x64 to 0x9F, which name no track; in BCD they are tracks 64 to 99.
std::optional<std::vector<Descriptor>> binaryItems(const std::vector<Descriptor>& candidates)
{
    std::vector<Descriptor> binary;
    std::copy_if(candidates.begin(), candidates.end(), std::back_inserter(binary), isBinaryPoint);
    if (!std::all_of(binary.begin(), binary.end(), isBinaryItem))
        return std::nullopt;
    return binary;
}

// The TOC items read as BCD and converted to binary, or nothing when they are not valid BCD.
std::optional<std::vector<Descriptor>> bcdItems(const std::vector<Descriptor>& candidates)
{
    if (!std::all_of(candidates.begin(), candidates.end(), isBcdItem))
        return std::nullopt;
    std::vector<Descriptor> converted;
    std::transform(candidates.begin(), candidates.end(), std::back_inserter(converted), toBinary);
    return converted;
}

AbsoluteFrame atimeOf(const Descriptor& item)
{
    return AbsoluteFrame{(item.amin * kSecondsPerMinute + item.asec) * kFramesPerSecond + item.aframe};
}

TocPoint pointOf(const Descriptor& item)
{
    return TocPoint{item.control, item.adr, atimeOf(item)};
}

AbsoluteFrame addressOf(const Descriptor& item)
{
    return AbsoluteFrame{(item.pmin * kSecondsPerMinute + item.psec) * kFramesPerSecond + item.pframe};
}

struct SessionBuilder
{
    TocSession session;
    bool hasFirst = false;
    bool hasLast = false;
    bool hasLeadOut = false;

    bool complete() const
    {
        return hasFirst && hasLast && hasLeadOut && session.firstTrack <= session.lastTrack;
    }
};

class TocBuilder
{
public:
    TocBuilder(uint8_t firstSession, uint8_t lastSession) : m_first(firstSession), m_last(lastSession) {}

    bool add(const Descriptor& item)
    {
        if (item.session < m_first || item.session > m_last)
            return false;
        if (isPseudoTrack(item.point) && (item.pmin == 0 || item.pmin > kLastTrackNumber))
            return false;
        SessionBuilder& builder = m_sessions[item.session];
        builder.session.number = item.session;
        if (item.point == CUEIFY_FULL_TOC_FIRST_TRACK_PSEUDOTRACK) {
            builder.session.firstTrack = item.pmin;
            builder.session.type = item.psec;
            builder.session.firstTrackPoint = pointOf(item);
            builder.hasFirst = true;
        } else if (item.point == CUEIFY_FULL_TOC_LAST_TRACK_PSEUDOTRACK) {
            builder.session.lastTrack = item.pmin;
            builder.session.lastTrackPoint = pointOf(item);
            builder.hasLast = true;
        } else if (item.point == kLeadOutPoint) {
            builder.session.leadOut = addressOf(item);
            builder.session.leadOutPoint = pointOf(item);
            builder.hasLeadOut = true;
        } else {
            m_tracks[item.point] =
                TocTrack{item.point, item.session, item.control, item.adr, addressOf(item), atimeOf(item)};
        }
        return true;
    }

    bool finish(FullTocData& out) const
    {
        for (const auto& [number, session] : m_sessions)
            if (!session.complete())
                return false;
        out.firstSession = m_first;
        out.lastSession = m_last;
        for (const auto& [number, session] : m_sessions)
            out.sessions.push_back(session.session);
        for (const auto& [number, track] : m_tracks)
            out.tracks.push_back(track);
        return true;
    }

private:
    uint8_t m_first;
    uint8_t m_last;
    std::map<uint8_t, SessionBuilder> m_sessions;
    std::map<uint8_t, TocTrack> m_tracks;
};

std::vector<Descriptor> tocItems(const uint8_t* area, size_t size)
{
    std::vector<Descriptor> items;
    for (size_t offset = 0; offset < size; offset += kDescriptorSize) {
        Descriptor item = readDescriptor(area + offset);
        if (isCandidate(item))
            items.push_back(item);
    }
    return items;
}

// The TOC the items make, or none when they make no disc.
std::optional<FullTocData> parseItems(uint8_t firstSession, uint8_t lastSession,
                                      const std::optional<std::vector<Descriptor>>& items)
{
    if (firstSession == 0 || firstSession > lastSession || !items)
        return std::nullopt;
    TocBuilder builder(firstSession, lastSession);
    for (const Descriptor& item : *items)
        if (!builder.add(item))
            return std::nullopt;
    FullTocData toc;
    if (!builder.finish(toc))
        return std::nullopt;
    return toc;
}

// Every track of the ordinary TOC is in the full TOC, starting at the same address.
bool agrees(const FullTocData& toc, const FullTocData& ordinaryToc)
{
    return std::all_of(
        ordinaryToc.tracks.begin(), ordinaryToc.tracks.end(), [&toc](const TocTrack& expected) {
            return std::any_of(toc.tracks.begin(), toc.tracks.end(), [&expected](const TocTrack& track) {
                return track.number == expected.number && track.start.value == expected.start.value;
            });
        });
}

FullTocData parseEitherEncoding(uint8_t firstSession, uint8_t lastSession, const std::vector<Descriptor>& raw,
                                const FullTocData* ordinaryToc)
{
    std::optional<FullTocData> binary = parseItems(firstSession, lastSession, binaryItems(raw));
    std::optional<FullTocData> bcd = parseItems(firstSession, lastSession, bcdItems(raw));
    const bool preferBcd =
        bcd &&
        (!binary || (ordinaryToc != nullptr && !agrees(*binary, *ordinaryToc) && agrees(*bcd, *ordinaryToc)));
    if (preferBcd)
        return std::move(*bcd);
    if (!binary)
        throw Failure(CUEIFY_ERR_CORRUPTED, "a full TOC whose descriptors describe no disc");
    return std::move(*binary);
}

} // namespace

FullTocData parseFullTocReply(const uint8_t* reply, size_t size, const FullTocData* ordinaryToc)
{
    if (reply == nullptr || size < kHeaderSize)
        throw Failure(CUEIFY_ERR_TRUNCATED, "a full TOC shorter than its 4-byte header");
    size_t length = static_cast<size_t>(reply[0]) << 8 | reply[1];
    if (length + kLengthFieldSize > size)
        throw Failure(CUEIFY_ERR_TRUNCATED, "a full TOC shorter than its length field says");
    if (length < kHeaderSize - kLengthFieldSize ||
        (length - (kHeaderSize - kLengthFieldSize)) % kDescriptorSize != 0)
        throw Failure(CUEIFY_ERR_CORRUPTED, "full TOC descriptors that are not 11 bytes each");
    size_t areaSize = length + kLengthFieldSize - kHeaderSize;
    return parseEitherEncoding(reply[2], reply[3], tocItems(reply + kHeaderSize, areaSize), ordinaryToc);
}

} // namespace cueify
