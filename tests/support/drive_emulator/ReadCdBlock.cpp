#include "ReadCdBlock.h"

#include "Addressing.h"

namespace driveemulator {
namespace {

constexpr uint8_t kSync = 0x80, kHeader = 0x20, kUserData = 0x10, kEdcEcc = 0x08;
constexpr uint8_t kC2Pointers = 0x02, kC2AndBlockError = 0x04;
constexpr uint8_t kSubChannelQ = 2;
constexpr size_t kSyncEnd = 12, kHeaderEnd = 16, kMode1UserEnd = 2064;
constexpr size_t kC2PointerBytes = mkdisc::kRawSectorBytes / 8;

bool typeMatches(uint8_t expected, mkdisc::TrackMode mode)
{
    switch (expected) {
    case 0:
        return true;
    case 1:
        return mode == mkdisc::TrackMode::Audio;
    case 2:
        return mode == mkdisc::TrackMode::Mode1Raw;
    case 3:
    case 4:
    case 5:
        return mode == mkdisc::TrackMode::Mode2Raw;
    default:
        return false;
    }
}

void appendRange(std::vector<uint8_t>& reply, const mkdisc::Sector& sector, size_t begin, size_t end)
{
    reply.insert(reply.end(), sector.begin() + static_cast<long>(begin),
                 sector.begin() + static_cast<long>(end));
}

void appendMainChannel(std::vector<uint8_t>& reply, uint8_t fields, mkdisc::TrackMode mode,
                       const mkdisc::Sector& sector)
{
    if (mode == mkdisc::TrackMode::Audio) {
        if (fields & kUserData)
            appendRange(reply, sector, 0, sector.size());
        return;
    }
    if (fields & kSync)
        appendRange(reply, sector, 0, kSyncEnd);
    if (fields & kHeader)
        appendRange(reply, sector, kSyncEnd, kHeaderEnd);
    const size_t userEnd = mode == mkdisc::TrackMode::Mode1Raw ? kMode1UserEnd : sector.size();
    if (fields & kUserData)
        appendRange(reply, sector, kHeaderEnd, userEnd);
    if ((fields & kEdcEcc) && userEnd < sector.size())
        appendRange(reply, sector, userEnd, sector.size());
}

// One bit per byte of the sector, most significant first; the block error byte ORs them all.
void appendC2(std::vector<uint8_t>& reply, uint8_t fields, const std::vector<uint16_t>& altered)
{
    std::vector<uint8_t> pointers(kC2PointerBytes, 0);
    for (uint16_t offset : altered)
        pointers[offset / 8] |= static_cast<uint8_t>(0x80 >> offset % 8);
    if (fields & kC2AndBlockError)
        reply.insert(reply.end(), {static_cast<uint8_t>(altered.empty() ? 0 : 1), 0});
    reply.insert(reply.end(), pointers.begin(), pointers.end());
}

uint16_t crc16(const uint8_t* bytes, size_t count)
{
    uint16_t crc = 0;
    for (size_t i = 0; i < count; ++i) {
        crc ^= static_cast<uint16_t>(bytes[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
    }
    return static_cast<uint16_t>(~crc);
}

void putBcdMsf(uint8_t* at, uint32_t frames)
{
    const Msf msf = toMsf(frames);
    at[0] = toBcd(msf.minutes);
    at[1] = toBcd(msf.seconds);
    at[2] = toBcd(msf.frames);
}

// Mode-1 Q: CONTROL/ADR, track, index (0 in the pregap), the time within the track (counting down
// to INDEX 01 in the pregap), the absolute time, the CRC over the ten bytes before it.
void appendQ(std::vector<uint8_t>& reply, const DiscTrack& track, int64_t lba)
{
    uint8_t q[16] = {};
    const bool pregap = lba < track.startLba;
    q[0] = static_cast<uint8_t>(track.control << 4 | 1);
    q[1] = toBcd(track.number);
    q[2] = pregap ? 0 : 1;
    putBcdMsf(q + 3, static_cast<uint32_t>(pregap ? track.startLba - lba : lba - track.startLba));
    putBcdMsf(q + 7, static_cast<uint32_t>(lba + mkdisc::kLeadInFrames));
    const uint16_t crc = crc16(q, 10);
    q[10] = static_cast<uint8_t>(crc >> 8);
    q[11] = static_cast<uint8_t>(crc);
    reply.insert(reply.end(), q, q + sizeof q);
}

} // namespace

std::optional<Sense> checkReadCd(const ReadCdFields& request, const DiscTrack& track, bool offersC2Pointers)
{
    if (!typeMatches(request.expectedType, track.mode))
        return Sense::illegalModeForTrack();
    if (!offersC2Pointers && (request.fields & (kC2Pointers | kC2AndBlockError)) != 0)
        return Sense::invalidField();
    if (request.subChannel != 0 && request.subChannel != kSubChannelQ)
        return Sense::invalidField();
    return std::nullopt;
}

void appendReadCdBlock(std::vector<uint8_t>& reply, const ReadCdFields& request, const DiscTrack& track,
                       int64_t lba, const SectorRead& read)
{
    appendMainChannel(reply, request.fields, track.mode, read.bytes);
    if (request.fields & (kC2Pointers | kC2AndBlockError))
        appendC2(reply, request.fields, read.alteredOffsets);
    if (request.subChannel == kSubChannelQ)
        appendQ(reply, track, lba);
}

} // namespace driveemulator
