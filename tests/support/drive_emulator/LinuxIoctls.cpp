#include "LinuxIoctls.h"

#include "Addressing.h"
#include "MmcResponder.h"

#include <linux/cdrom.h>
#include <linux/fs.h>
#include <scsi/scsi.h>
#include <scsi/sg.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace driveemulator {
namespace {

// The sr driver retries a command that meets a drive becoming ready (ASC 04/01) ten times.
constexpr int kBecomingReadyRetries = 10;
constexpr uint8_t kSenseNotReady = 0x02, kAscNoMedium = 0x3A;
constexpr int kCapabilities = CDC_CLOSE_TRAY | CDC_OPEN_TRAY | CDC_LOCK | CDC_SELECT_SPEED |
                              CDC_MULTI_SESSION | CDC_MCN | CDC_MEDIA_CHANGED | CDC_PLAY_AUDIO | CDC_RESET |
                              CDC_DRIVE_STATUS | CDC_GENERIC_PACKET;

MmcReply sendCommand(EmulatedDrive& drive, const uint8_t* cdb)
{
    MmcReply reply = respond(drive, cdb);
    for (int retry = 0; retry < kBecomingReadyRetries && reply.sense && reply.sense->key == kSenseNotReady &&
                        reply.sense->asc == 0x04 && reply.sense->ascq == 0x01;
         ++retry)
        reply = respond(drive, cdb);
    return reply;
}

int fail(int error)
{
    errno = error;
    return -1;
}

int failWith(const Sense& sense)
{
    return fail(sense.key == kSenseNotReady && sense.asc == kAscNoMedium ? ENOMEDIUM : EIO);
}

MmcReply readToc(EmulatedDrive& drive, uint8_t format, uint8_t trackOrSession, bool msf)
{
    const uint8_t cdb[12] = {
        0x43, static_cast<uint8_t>(msf ? 0x02 : 0), format, 0, 0, 0, trackOrSession, 0xFF, 0xFF};
    return sendCommand(drive, cdb);
}

void putAddress(cdrom_addr& address, const uint8_t* field, bool msf)
{
    if (msf)
        address.msf = {field[1], field[2], field[3]};
    else
        address.lba = static_cast<int>(uint32_t{field[0]} << 24 | field[1] << 16 | field[2] << 8 | field[3]);
}

int tocHeader(EmulatedDrive& drive, cdrom_tochdr& header)
{
    const MmcReply reply = readToc(drive, 0, 0, true);
    if (reply.sense)
        return failWith(*reply.sense);
    header = {reply.data[2], reply.data[3]};
    return 0;
}

int tocEntry(EmulatedDrive& drive, cdrom_tocentry& entry)
{
    if (entry.cdte_format != CDROM_MSF && entry.cdte_format != CDROM_LBA)
        return fail(EINVAL);
    const MmcReply reply = readToc(drive, 0, entry.cdte_track, entry.cdte_format == CDROM_MSF);
    if (reply.sense)
        return failWith(*reply.sense);
    const uint8_t* descriptor = reply.data.data() + 4;
    entry.cdte_adr = descriptor[1] >> 4;
    entry.cdte_ctrl = descriptor[1] & 0x0F;
    putAddress(entry.cdte_addr, descriptor + 4, entry.cdte_format == CDROM_MSF);
    entry.cdte_datamode = (entry.cdte_ctrl & CDROM_DATA_TRACK) ? 1 : 0;
    return 0;
}

int discStatus(EmulatedDrive& drive)
{
    if (drive.mediumState())
        return CDS_NO_DISC;
    bool audio = false, data = false, xa = false;
    for (const DiscTrack& track : drive.disc()->tracks()) {
        audio |= track.mode == mkdisc::TrackMode::Audio;
        data |= track.mode != mkdisc::TrackMode::Audio;
        xa |= track.mode == mkdisc::TrackMode::Mode2Raw;
    }
    return audio && data ? CDS_MIXED : xa ? CDS_XA_2_1 : data ? CDS_DATA_1 : CDS_AUDIO;
}

// The sr driver asks for the session information in READ TOC's older form (format 1 in byte 9),
// and reports no second session when the last one starts with track 1.
int multisession(EmulatedDrive& drive, cdrom_multisession& info)
{
    if (info.addr_format != CDROM_MSF && info.addr_format != CDROM_LBA)
        return fail(EINVAL);
    const uint8_t cdb[12] = {0x43, 0, 0, 0, 0, 0, 0, 0, 12, 0x40};
    const MmcReply reply = sendCommand(drive, cdb);
    if (reply.sense)
        return failWith(*reply.sense);
    const uint8_t* start = reply.data.data() + 8;
    const uint32_t lba =
        reply.data[6] <= 1 ? 0 : uint32_t{start[0]} << 24 | start[1] << 16 | start[2] << 8 | start[3];
    if (info.addr_format == CDROM_MSF) {
        const std::array<uint8_t, 3> address = msfBytes(lba + mkdisc::kLeadInFrames);
        info.addr.msf = {address[0], address[1], address[2]};
    } else {
        info.addr.lba = static_cast<int>(lba);
    }
    info.xa_flag = discStatus(drive) == CDS_XA_2_1;
    return 0;
}

int mediaCatalogNumber(EmulatedDrive& drive, cdrom_mcn& mcn)
{
    const uint8_t cdb[12] = {0x42, 0, 0x40, 2, 0, 0, 0, 0, 24};
    const MmcReply reply = sendCommand(drive, cdb);
    if (reply.sense)
        return failWith(*reply.sense);
    std::memcpy(mcn.medium_catalog_number, reply.data.data() + 9, 13);
    mcn.medium_catalog_number[13] = 0;
    return 0;
}

// CDROM_SEND_PACKET: on CHECK CONDITION the sense goes to the caller and the ioctl fails with EIO;
// on success the transfer lands and buflen becomes the residual count.
int sendPacket(EmulatedDrive& drive, cdrom_generic_command& command)
{
    const MmcReply reply = sendCommand(drive, command.cmd);
    if (reply.sense) {
        const auto sense = reply.sense->bytes();
        if (command.sense != nullptr)
            std::memcpy(command.sense, sense.data(), sense.size());
        return fail(EIO);
    }
    const size_t count = std::min<size_t>(reply.data.size(), command.buflen);
    if (count > 0)
        std::memcpy(command.buffer, reply.data.data(), count);
    command.stat = 0;
    command.buflen -= static_cast<unsigned>(count);
    return 0;
}

// SG_IO: the ioctl itself succeeds; CHECK CONDITION shows in the status and the sense buffer.
int sgIo(EmulatedDrive& drive, sg_io_hdr_t& io)
{
    if (io.interface_id != 'S' || io.cmd_len > 16)
        return fail(EINVAL);
    uint8_t cdb[16] = {};
    std::memcpy(cdb, io.cmdp, io.cmd_len);
    const MmcReply reply = sendCommand(drive, cdb);
    io.status = io.masked_status = io.host_status = io.driver_status = 0;
    io.sb_len_wr = 0;
    io.resid = static_cast<int>(io.dxfer_len);
    if (reply.sense) {
        const auto sense = reply.sense->bytes();
        io.status = 0x02;        // CHECK CONDITION
        io.masked_status = 0x01; // the same, shifted right
        io.driver_status = 0x08; // DRIVER_SENSE
        io.sb_len_wr = static_cast<unsigned char>(std::min<size_t>(sense.size(), io.mx_sb_len));
        std::memcpy(io.sbp, sense.data(), io.sb_len_wr);
        return 0;
    }
    const size_t count = std::min<size_t>(reply.data.size(), io.dxfer_len);
    if (count > 0)
        std::memcpy(io.dxferp, reply.data.data(), count);
    io.resid = static_cast<int>(io.dxfer_len - count);
    return 0;
}

// The sr driver's CDROM_SELECT_SPEED: SET CD SPEED with the read speed in kB/s, 177 to each 1x,
// 0 for the drive's fastest (0xFFFF); speeds past what 16 bits hold are cut to the largest.
int selectSpeed(EmulatedDrive& drive, unsigned long speed)
{
    constexpr unsigned long kKbsPerSpeed = 177, kFastest = 0xFFFF;
    const unsigned long kbs = speed == 0 ? kFastest : std::min(speed, kFastest / kKbsPerSpeed) * kKbsPerSpeed;
    const uint8_t cdb[12] = {0xBB, 0, static_cast<uint8_t>(kbs >> 8), static_cast<uint8_t>(kbs)};
    const MmcReply reply = sendCommand(drive, cdb);
    return reply.sense ? fail(EIO) : 0;
}

int audioStatus(EmulatedDrive& drive, cdrom_subchnl& status)
{
    if (std::optional<Sense> state = drive.mediumState())
        return failWith(*state);
    status.cdsc_audiostatus = CDROM_AUDIO_NO_STATUS;
    return 0;
}

} // namespace

int driveIoctl(EmulatedDrive& drive, unsigned long request, void* argument)
{
    switch (request) {
    case CDROM_GET_CAPABILITY:
        return kCapabilities;
    case SCSI_IOCTL_GET_BUS_NUMBER:
        *static_cast<int*>(argument) = 0;
        return 0;
    case SCSI_IOCTL_GET_IDLUN:
        std::memset(argument, 0, 2 * sizeof(int));
        return 0;
    case CDROMREADTOCHDR:
        return tocHeader(drive, *static_cast<cdrom_tochdr*>(argument));
    case CDROMREADTOCENTRY:
        return tocEntry(drive, *static_cast<cdrom_tocentry*>(argument));
    case CDROMMULTISESSION:
        return multisession(drive, *static_cast<cdrom_multisession*>(argument));
    case CDROM_GET_MCN:
        return mediaCatalogNumber(drive, *static_cast<cdrom_mcn*>(argument));
    case CDROM_DISC_STATUS:
        return discStatus(drive);
    case CDROM_DRIVE_STATUS:
        return drive.disc() ? CDS_DISC_OK : CDS_NO_DISC;
    case CDROM_SEND_PACKET:
        return sendPacket(drive, *static_cast<cdrom_generic_command*>(argument));
    case SG_IO:
        return sgIo(drive, *static_cast<sg_io_hdr_t*>(argument));
    case CDROMSUBCHNL:
        return audioStatus(drive, *static_cast<cdrom_subchnl*>(argument));
    case DVD_READ_STRUCT: // a CD-only drive
        return fail(ENOSYS);
    case BLKSECTGET: // in 512-byte units
        *static_cast<unsigned short*>(argument) =
            static_cast<unsigned short>(drive.config().maxSectorsKb * 2);
        return 0;
    case kReadDriveCounters:
        *static_cast<DriveCounters*>(argument) = drive.counters();
        return 0;
    case CDROM_SELECT_SPEED:
        return selectSpeed(drive, reinterpret_cast<unsigned long>(argument));
    case CDROM_MEDIA_CHANGED:
    case CDROM_LOCKDOOR:
    case CDROMEJECT:
    case CDROMCLOSETRAY:
        return 0;
    default:
        return fail(ENOTTY);
    }
}

} // namespace driveemulator
