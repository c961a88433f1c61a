#include "drive/MmcCommands.h"

#include "core/Failure.h"

#include <cueify/error.h>

#include <cdio/mmc.h>
#include <cdio/mmc_ll_cmds.h>
#include <cdio/mmc_util.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace cueify {

namespace {

constexpr uint8_t kMsfAddressing = 0x02; // byte 1 of READ TOC: addresses as MSF, not LBA
constexpr uint8_t kFromFirstSession = 1;
constexpr size_t kTocHeaderSize = 4;
constexpr size_t kLengthFieldSize = 2;
constexpr size_t kLargestAllocation = 0xFFFF;
constexpr uint8_t kAllHeaders = 3; // READ CD header codes: header and sub-header
constexpr uint8_t kNoC2Errors = 0;
constexpr uint8_t kC2Pointers = 1; // READ CD's C2 field: the 294 bytes of pointers, no block error byte
constexpr uint8_t kNoSubChannel = 0;
constexpr uint8_t kFormattedQ = 2; // READ CD's sub-channel field: 16 bytes of decoded Q
constexpr size_t kQFrameBytes = 16;
constexpr uint8_t kSubQ = 0x40; // READ SUB-CHANNEL byte 2: return the sub-channel data
constexpr uint8_t kSubChannelMcn = 0x02;
constexpr uint8_t kSubChannelIsrc = 0x03;
constexpr size_t kSubChannelReplyBytes = 24;
constexpr uint8_t kCodeValid = 0x80; // MCVAL or TCVAL, and nothing else
constexpr size_t kMcnLength = 13;
constexpr size_t kIsrcLength = 12;
constexpr size_t kSectorHeaderOffset = CDIO_CD_SYNC_SIZE;
constexpr uint8_t kHighestDataMode = 2;
constexpr uint8_t kWholeSector = 0xF8; // READ CD byte 9: sync, both headers, user data, EDC/ECC
constexpr uint8_t kAudioFields = 0x78; // what libcdio's own CD-DA read asks for: 2352 bytes of samples

// libcdio's LSN counts from 00:02:00, like a logical block address.
lsn_t toCdioLsn(Lba lba)
{
    return static_cast<lsn_t>(lba.value);
}

driver_return_code_t runReadToc(const CdIo_t* cdio, uint8_t format, uint8_t* buffer, size_t size)
{
    mmc_cdb_t cdb{};
    CDIO_MMC_SET_COMMAND(cdb.field, CDIO_MMC_GPCMD_READ_TOC);
    cdb.field[1] = format == CDIO_MMC_READTOC_FMT_FULTOC ? kMsfAddressing : 0;
    cdb.field[2] = format;
    cdb.field[6] = kFromFirstSession;
    CDIO_MMC_SET_READ_LENGTH16(cdb.field, size);
    return mmc_run_cmd(cdio, MMC_TIMEOUT_DEFAULT, &cdb, SCSI_MMC_DATA_READ, static_cast<unsigned>(size),
                       buffer);
}

uint8_t toBcd(uint8_t value)
{
    return static_cast<uint8_t>((value / 10) << 4 | value % 10);
}

// The sync pattern and the BCD address in the sector's header prove that the drive filled
// the sector asked for, which a success code alone does not.
bool isDataSectorAt(const uint8_t* sector, Lba lba)
{
    cueify_msf_t address = toMsf(toAbsolute(lba));
    const uint8_t* header = sector + kSectorHeaderOffset;
    return std::memcmp(sector, CDIO_SECTOR_SYNC_HEADER, CDIO_CD_SYNC_SIZE) == 0 &&
           header[0] == toBcd(address.min) && header[1] == toBcd(address.sec) &&
           header[2] == toBcd(address.frm) && header[3] <= kHighestDataMode;
}

uint8_t fromBcd(uint8_t value)
{
    return static_cast<uint8_t>((value >> 4) * 10 + (value & 0x0F));
}

// READ SUB-CHANNEL's reply for a code: valid only with exactly the MCVAL/TCVAL bit in byte 8.
std::string readSubChannelCode(const CdIo_t* cdio, uint8_t format, uint8_t track, size_t length)
{
    std::array<uint8_t, kSubChannelReplyBytes> reply{};
    mmc_cdb_t cdb{};
    CDIO_MMC_SET_COMMAND(cdb.field, CDIO_MMC_GPCMD_READ_SUBCHANNEL);
    cdb.field[2] = kSubQ;
    cdb.field[3] = format;
    cdb.field[6] = track;
    CDIO_MMC_SET_READ_LENGTH16(cdb.field, reply.size());
    if (mmc_run_cmd(cdio, MMC_TIMEOUT_DEFAULT, &cdb, SCSI_MMC_DATA_READ, static_cast<unsigned>(reply.size()),
                    reply.data()) != DRIVER_OP_SUCCESS)
        throw Failure(CUEIFY_ERR_INTERNAL, "the drive refuses READ SUB-CHANNEL");
    if (reply[8] != kCodeValid)
        return {};
    return std::string(reinterpret_cast<const char*>(reply.data() + 9), length);
}

// The header first, for the length of the whole reply, then the whole reply.
std::optional<std::vector<uint8_t>> readTocReply(const CdIo_t* cdio, uint8_t format)
{
    std::array<uint8_t, kTocHeaderSize> header{};
    if (runReadToc(cdio, format, header.data(), header.size()) != DRIVER_OP_SUCCESS)
        return std::nullopt;
    size_t length = static_cast<size_t>(header[0]) << 8 | header[1];
    std::vector<uint8_t> reply(std::clamp(length + kLengthFieldSize, kTocHeaderSize, kLargestAllocation), 0);
    if (runReadToc(cdio, format, reply.data(), reply.size()) != DRIVER_OP_SUCCESS)
        return std::nullopt;
    return reply;
}

} // namespace

std::optional<std::vector<uint8_t>> readFullTocReply(const CdIo_t* cdio)
{
    return readTocReply(cdio, CDIO_MMC_READTOC_FMT_FULTOC);
}

std::vector<uint8_t> readCdTextReply(const CdIo_t* cdio)
{
    std::optional<std::vector<uint8_t>> reply = readTocReply(cdio, CDIO_MMC_READTOC_FMT_CDTEXT);
    if (!reply)
        throw Failure(CUEIFY_ERR_INTERNAL, "the drive reports no CD-Text");
    return std::move(*reply);
}

bool readRawDataSector(const CdIo_t* cdio, Lba lba, uint8_t* sector)
{
    driver_return_code_t result =
        mmc_read_cd(cdio, sector, toCdioLsn(lba), CDIO_MMC_READ_TYPE_ANY, false, true, kAllHeaders, true,
                    true, kNoC2Errors, kNoSubChannel, kRawSectorBytes, 1);
    return result == DRIVER_OP_SUCCESS && isDataSectorAt(sector, lba);
}

bool readRawSectors(const CdIo_t* cdio, Lba lba, uint32_t count, bool data, uint8_t* sectors)
{
    // One command for the whole batch: mmc_read_cd would split it into commands of 16 blocks.
    mmc_cdb_t cdb{};
    CDIO_MMC_SET_COMMAND(cdb.field, CDIO_MMC_GPCMD_READ_CD);
    CDIO_MMC_SET_READ_TYPE(cdb.field, data ? CDIO_MMC_READ_TYPE_ANY : CDIO_MMC_READ_TYPE_CDDA);
    CDIO_MMC_SET_READ_LBA(cdb.field, toCdioLsn(lba));
    CDIO_MMC_SET_READ_LENGTH24(cdb.field, count);
    cdb.field[9] = data ? kWholeSector : kAudioFields;
    const unsigned size = count * static_cast<unsigned>(kRawSectorBytes);
    if (mmc_run_cmd(cdio, MMC_TIMEOUT_DEFAULT, &cdb, SCSI_MMC_DATA_READ, size, sectors) != DRIVER_OP_SUCCESS)
        return false;
    for (uint32_t i = 0; data && i < count; ++i)
        if (!isDataSectorAt(sectors + i * kRawSectorBytes, Lba{lba.value + i}))
            return false;
    return true;
}

bool readRawSectorWithC2(const CdIo_t* cdio, Lba lba, bool data, uint8_t* sectorAndPointers)
{
    const int type = data ? CDIO_MMC_READ_TYPE_ANY : CDIO_MMC_READ_TYPE_CDDA;
    driver_return_code_t result =
        mmc_read_cd(cdio, sectorAndPointers, toCdioLsn(lba), type, false, true, kAllHeaders, true, true,
                    kC2Pointers, kNoSubChannel, kRawSectorBytes + kC2PointerBytes, 1);
    return result == DRIVER_OP_SUCCESS && (!data || isDataSectorAt(sectorAndPointers, lba));
}

std::optional<QFrame> readQFrame(const CdIo_t* cdio, Lba lba)
{
    std::array<uint8_t, kRawSectorBytes + kQFrameBytes> buffer{};
    const driver_return_code_t result =
        mmc_read_cd(cdio, buffer.data(), toCdioLsn(lba), CDIO_MMC_READ_TYPE_ANY, false, true, kAllHeaders,
                    true, true, kNoC2Errors, kFormattedQ, buffer.size(), 1);
    if (result != DRIVER_OP_SUCCESS)
        return std::nullopt;
    const uint8_t* q = buffer.data() + kRawSectorBytes;
    return QFrame{static_cast<uint8_t>(q[0] >> 4), static_cast<uint8_t>(q[0] & 0x0F), fromBcd(q[1]),
                  fromBcd(q[2])};
}

std::string readMediaCatalogNumber(const CdIo_t* cdio)
{
    return readSubChannelCode(cdio, kSubChannelMcn, 0, kMcnLength);
}

std::string readTrackIsrc(const CdIo_t* cdio, uint8_t track)
{
    return readSubChannelCode(cdio, kSubChannelIsrc, track, kIsrcLength);
}

bool setReadSpeed(const CdIo_t* cdio, unsigned speed)
{
    // The kernel turns 1x into 177 kB/s; past this the speed would not fit SET CD SPEED's 16 bits.
    constexpr unsigned kFastestSpeed = 0xFFFF / 177;
    return cdio_set_speed(cdio, static_cast<int>(std::min(speed, kFastestSpeed))) == DRIVER_OP_SUCCESS;
}

bool offersC2Pointers(const CdIo_t* cdio)
{
    cdio_drive_read_cap_t read = 0;
    cdio_drive_write_cap_t write = 0;
    cdio_drive_misc_cap_t misc = 0;
    cdio_get_drive_cap(cdio, &read, &write, &misc);
    return (read & CDIO_DRIVE_CAP_READ_C2_ERRS) != 0 && (read & CDIO_DRIVE_CAP_ERROR) == 0;
}

bool readRawAudioSector(const CdIo_t* cdio, Lba lba, uint8_t* sector)
{
    return cdio_read_audio_sector(cdio, sector, toCdioLsn(lba)) == DRIVER_OP_SUCCESS;
}

} // namespace cueify
