#include "MmcResponder.h"

#include "Addressing.h"
#include "ReadCdBlock.h"
#include "TocReplies.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace driveemulator {
namespace {

enum Opcode : uint8_t
{
    TestUnitReady = 0x00,
    RequestSense = 0x03,
    Inquiry = 0x12,
    ModeSense6 = 0x1A,
    ReadCapacity = 0x25,
    ReadSubChannel = 0x42,
    ReadToc = 0x43,
    GetConfiguration = 0x46,
    ModeSense10 = 0x5A,
    ReadCdMsf = 0xB9,
    SetCdSpeed = 0xBB,
    ReadCd = 0xBE,
};

constexpr uint8_t kCapabilitiesPage = 0x2A, kAllPages = 0x3F;
constexpr uint16_t kProfileCdRom = 0x0008;

uint32_t bigEndian(const uint8_t* bytes, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

MmcReply answer(std::vector<uint8_t> data, size_t allocation)
{
    data.resize(std::min(data.size(), allocation));
    return {std::move(data), std::nullopt};
}

MmcReply failure(Sense sense)
{
    return {{}, sense};
}

std::vector<uint8_t> text(const char* value, size_t width)
{
    std::vector<uint8_t> field(width, ' ');
    std::memcpy(field.data(), value, std::min(width, std::strlen(value)));
    return field;
}

MmcReply inquiry(const uint8_t* cdb)
{
    std::vector<uint8_t> reply{0x05, 0x80, 0x05, 0x32, 31, 0, 0, 0}; // CD/DVD device, removable medium
    for (const std::vector<uint8_t>& field : {text("EMULATED", 8), text("CD-ROM DRIVE", 16), text("1.0", 4)})
        reply.insert(reply.end(), field.begin(), field.end());
    return answer(reply, bigEndian(cdb + 3, 2));
}

// The capabilities page: reads CD-DA accurately, with C2 pointers if it offers them, ISRC, UPC and
// sub-channel data.
std::vector<uint8_t> capabilitiesPage(bool offersC2Pointers)
{
    std::vector<uint8_t> page(22, 0);
    page[0] = kCapabilitiesPage;
    page[1] = static_cast<uint8_t>(page.size() - 2);
    page[4] = 0x41;                             // audio play, multi-session
    page[5] = 0x01 | 0x02 | 0x20 | 0x40 | 0x04; // CD-DA, accurate, ISRC, UPC, R-W
    page[5] |= offersC2Pointers ? 0x10 : 0;
    page[6] = 0x29; // lock, eject, tray loading
    return page;
}

MmcReply modeSense(const EmulatedDrive& drive, const uint8_t* cdb, bool tenBytes)
{
    const uint8_t page = cdb[2] & 0x3F;
    if (page != kCapabilitiesPage && page != kAllPages)
        return failure(Sense::invalidField());
    const std::vector<uint8_t> body = capabilitiesPage(drive.config().offersC2Pointers);
    std::vector<uint8_t> reply;
    if (tenBytes) {
        const size_t length = body.size() + 6;
        reply = {static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), 0, 0, 0, 0, 0, 0};
    } else {
        reply = {static_cast<uint8_t>(body.size() + 3), 0, 0, 0};
    }
    reply.insert(reply.end(), body.begin(), body.end());
    return answer(reply, tenBytes ? bigEndian(cdb + 7, 2) : cdb[4]);
}

MmcReply getConfiguration(const uint8_t* cdb)
{
    // The header with the current profile, then the profile list feature naming CD-ROM, current.
    std::vector<uint8_t> reply{0, 0, 0, 16, 0, 0, 0, kProfileCdRom, 0, 0, 0x03, 4, 0, kProfileCdRom, 0x01, 0};
    return answer(reply, bigEndian(cdb + 7, 2));
}

MmcReply requestSense(EmulatedDrive& drive, const uint8_t* cdb)
{
    const auto sense = drive.takeLastSense().bytes();
    return answer({sense.begin(), sense.end()}, cdb[4]);
}

MmcReply readCapacity(const EmulatedDisc& disc)
{
    const uint32_t last = disc.lastLeadOutLba() - 1;
    return answer({static_cast<uint8_t>(last >> 24), static_cast<uint8_t>(last >> 16),
                   static_cast<uint8_t>(last >> 8), static_cast<uint8_t>(last), 0, 0, 0x08, 0},
                  8);
}

MmcReply readToc(EmulatedDrive& drive, const EmulatedDisc& disc, const uint8_t* cdb)
{
    const bool msf = cdb[1] & 0x02;
    const size_t allocation = bigEndian(cdb + 7, 2);
    // Drives before MMC took the format from the two top bits of byte 9, where the kernel still puts it.
    const uint8_t mmcFormat = cdb[2] & 0x0F, olderFormat = cdb[9] >> 6;
    if (mmcFormat != 0 && drive.config().knowsOnlyOlderTocFormats)
        return failure(Sense::invalidField());
    switch (mmcFormat != 0 ? mmcFormat : olderFormat) {
    case 0:
        if (cdb[6] > disc.tracks().back().number && cdb[6] != 0xAA)
            return failure(Sense::invalidField());
        return answer(ordinaryToc(disc, cdb[6] == 0xAA ? 100 : cdb[6], msf), allocation);
    case 1:
        return answer(sessionInfo(disc, msf), allocation);
    case 2:
        if (drive.config().refusesFullToc || cdb[6] > disc.sessions().size())
            return failure(Sense::invalidField());
        return answer(fullToc(disc, cdb[6], drive.config().bcdFullToc), allocation);
    case 5: {
        std::ifstream file(drive.config().cdTextFile, std::ios::binary);
        if (drive.config().cdTextFile.empty() || !file)
            return failure(Sense::invalidField()); // a disc without CD-Text
        return answer(std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {}), allocation);
    }
    default: // no PMA, no ATIP on a pressed disc
        return failure(Sense::invalidField());
    }
}

// The current position: the last sector read, in its track.
std::vector<uint8_t> positionData(const EmulatedDrive& drive, const EmulatedDisc& disc, bool msf)
{
    const int64_t lba = drive.lastReadLba();
    const DiscTrack* track = disc.trackAt(lba);
    std::vector<uint8_t> data{1, 0, 0, 0};
    if (track == nullptr)
        return data;
    data = {1, static_cast<uint8_t>(track->control | 1 << 4), track->number,
            lba < track->startLba ? uint8_t{0} : uint8_t{1}};
    for (int64_t address : {lba, lba - int64_t{track->startLba}}) {
        if (msf) {
            const std::array<uint8_t, 3> at =
                msfBytes(static_cast<uint32_t>(address + (address == lba ? mkdisc::kLeadInFrames : 0)));
            data.insert(data.end(), {0, at[0], at[1], at[2]});
        } else {
            for (int shift = 24; shift >= 0; shift -= 8)
                data.push_back(static_cast<uint8_t>(address >> shift));
        }
    }
    return data;
}

// The MCN (format 2) or a track's ISRC (format 3): MCVAL or TCVAL set only when the disc has it.
std::vector<uint8_t> codeData(const EmulatedDrive& drive, uint8_t format, uint8_t track)
{
    std::vector<uint8_t> data(20, 0);
    data[0] = format;
    const auto isrc = drive.config().isrcs.find(track);
    const std::string code = format == 2
                                 ? drive.config().mcn
                                 : (isrc == drive.config().isrcs.end() ? std::string() : isrc->second);
    if (!code.empty()) {
        data[4] = 0x80;
        std::copy(code.begin(), code.end(), data.begin() + 5);
    }
    return data;
}

MmcReply readSubChannel(const EmulatedDrive& drive, const EmulatedDisc& disc, const uint8_t* cdb)
{
    const uint8_t format = cdb[3];
    std::vector<uint8_t> data;
    if (format == 1)
        data = positionData(drive, disc, cdb[1] & 0x02);
    else if (format == 2 || format == 3)
        data = codeData(drive, format, cdb[6]);
    else
        return failure(Sense::invalidField());
    std::vector<uint8_t> reply{0, 0x15, 0, static_cast<uint8_t>(data.size())}; // audio status: none
    reply.insert(reply.end(), data.begin(), data.end());
    return answer(reply, bigEndian(cdb + 7, 2));
}

MmcReply readCd(EmulatedDrive& drive, const EmulatedDisc& disc, int64_t lba, uint32_t count,
                const uint8_t* cdb)
{
    const ReadCdFields request{static_cast<uint8_t>(cdb[1] >> 2 & 0x07), cdb[9],
                               static_cast<uint8_t>(cdb[10] & 0x07)};
    MmcReply reply;
    SectorRead read;
    for (int64_t block = lba; block < lba + count; ++block) {
        const DiscTrack* track = disc.trackAt(block);
        std::optional<Sense> sense =
            track ? checkReadCd(request, *track, drive.config().offersC2Pointers) : Sense::lbaOutOfRange();
        if (!sense)
            sense = drive.readSector(block, read);
        if (sense)
            return failure(*sense);
        appendReadCdBlock(reply.data, request, *track, block, read);
    }
    return reply;
}

int64_t msfToLba(const uint8_t* msf)
{
    return (msf[0] * 60 + msf[1]) * 75 + msf[2] - int64_t{mkdisc::kLeadInFrames};
}

MmcReply respondWithDisc(EmulatedDrive& drive, const uint8_t* cdb)
{
    const EmulatedDisc& disc = *drive.disc();
    switch (cdb[0]) {
    case ReadCapacity:
        return readCapacity(disc);
    case ReadToc:
        return readToc(drive, disc, cdb);
    case ReadSubChannel:
        return readSubChannel(drive, disc, cdb);
    case ReadCd:
        return readCd(drive, disc, static_cast<int32_t>(bigEndian(cdb + 2, 4)), bigEndian(cdb + 6, 3), cdb);
    case ReadCdMsf: {
        const int64_t start = msfToLba(cdb + 3), end = msfToLba(cdb + 6);
        return readCd(drive, disc, start, static_cast<uint32_t>(std::max<int64_t>(end - start, 0)), cdb);
    }
    default:
        return failure(Sense::invalidOpcode());
    }
}

// Drives before MMC took READ TOC's format from the two top bits of byte 9.
uint8_t tocFormat(const uint8_t* cdb)
{
    return (cdb[2] & 0x0F) != 0 ? cdb[2] & 0x0F : cdb[9] >> 6;
}

MmcReply setCdSpeed(EmulatedDrive& drive, const uint8_t* cdb)
{
    drive.countSetSpeed(static_cast<uint16_t>(bigEndian(cdb + 2, 2)));
    return drive.config().refusesSetSpeed ? failure(Sense::invalidOpcode()) : MmcReply{};
}

MmcReply dispatch(EmulatedDrive& drive, const uint8_t* cdb)
{
    switch (cdb[0]) {
    case SetCdSpeed:
        return setCdSpeed(drive, cdb);
    case TestUnitReady:
        return {{}, drive.mediumState()};
    case RequestSense:
        return requestSense(drive, cdb);
    case Inquiry:
        return inquiry(cdb);
    case ModeSense6:
    case ModeSense10:
        return modeSense(drive, cdb, cdb[0] == ModeSense10);
    case GetConfiguration:
        return getConfiguration(cdb);
    case ReadCapacity:
    case ReadToc:
    case ReadSubChannel:
    case ReadCd:
    case ReadCdMsf:
        if (std::optional<Sense> state = drive.mediumState())
            return failure(*state);
        return respondWithDisc(drive, cdb);
    default:
        return failure(Sense::invalidOpcode());
    }
}

uint32_t deliveredBlocks(const uint8_t* cdb)
{
    if (cdb[0] == ReadCd)
        return bigEndian(cdb + 6, 3);
    return static_cast<uint32_t>(std::max<int64_t>(msfToLba(cdb + 6) - msfToLba(cdb + 3), 0));
}

} // namespace

MmcReply respond(EmulatedDrive& drive, const uint8_t* cdb)
{
    drive.arrive();
    if (cdb[0] == ReadToc && tocFormat(cdb) == 0 && cdb[6] == 0)
        drive.countTocRead();
    MmcReply reply = dispatch(drive, cdb);
    const bool readCd = cdb[0] == ReadCd || cdb[0] == ReadCdMsf;
    drive.serve(readCd, readCd && !reply.sense ? deliveredBlocks(cdb) : 0);
    if (cdb[0] != RequestSense)
        drive.remember(reply.sense);
    return reply;
}

} // namespace driveemulator
