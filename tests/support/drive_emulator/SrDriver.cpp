// The sr driver's ioctls that libcdio sends, answered mostly by sending MMC commands as the kernel does.
#include "Drive.h"

#include <linux/cdrom.h>
#include <linux/fs.h>
#include <scsi/scsi.h>

#include <cstring>

namespace driveemulator {

// The ioctl's result, or -1 with errno set. The caller holds the drive's lock.
int Drive::ioctl(unsigned long request, void* argument)
{
    Reply reply;
    // Sends the command; on CHECK CONDITION, errno as the kernel sets it: ENOMEDIUM without a disc.
    const auto ask = [&](std::initializer_list<uint8_t> command) {
        uint8_t cdb[16] = {};
        std::copy(command.begin(), command.end(), cdb);
        reply = send(cdb);
        if (reply.sense)
            fail((*reply.sense)[2] == 2 && (*reply.sense)[12] == 0x3A ? ENOMEDIUM : EIO);
        return !reply.sense;
    };
    const auto discStatus = [this] {
        bool audio = false, data = false, xa = false;
        for (const Track& track : tracks) {
            audio |= track.mode == TrackMode::Audio;
            data |= track.mode != TrackMode::Audio;
            xa |= track.mode == TrackMode::Mode2Raw;
        }
        return tracks.empty()  ? CDS_NO_DISC
               : audio && data ? CDS_MIXED
               : xa            ? CDS_XA_2_1
               : data          ? CDS_DATA_1
                               : CDS_AUDIO;
    };
    switch (request) {
    case CDROM_GET_CAPABILITY:
        return CDC_CLOSE_TRAY | CDC_OPEN_TRAY | CDC_LOCK | CDC_SELECT_SPEED | CDC_MULTI_SESSION | CDC_MCN |
               CDC_MEDIA_CHANGED | CDC_PLAY_AUDIO | CDC_RESET | CDC_DRIVE_STATUS | CDC_GENERIC_PACKET;
    case SCSI_IOCTL_GET_BUS_NUMBER:
    case SCSI_IOCTL_GET_IDLUN:
        std::memset(argument, 0, (request == SCSI_IOCTL_GET_IDLUN ? 2 : 1) * sizeof(int));
        return 0;
    case CDROMREADTOCHDR:
        if (!ask({0x43, 0x02, 0, 0, 0, 0, 0, 0xFF, 0xFF}))
            return -1;
        *static_cast<cdrom_tochdr*>(argument) = {reply.data[2], reply.data[3]};
        return 0;
    case CDROMREADTOCENTRY: { // libcdio asks for addresses as MSF
        auto& entry = *static_cast<cdrom_tocentry*>(argument);
        if (entry.cdte_format != CDROM_MSF)
            return fail(EINVAL);
        if (!ask({0x43, 0x02, 0, 0, 0, 0, entry.cdte_track, 0xFF, 0xFF}))
            return -1;
        const uint8_t* descriptor = reply.data.data() + 4;
        entry.cdte_adr = descriptor[1] >> 4;
        entry.cdte_ctrl = descriptor[1] & 0x0F;
        entry.cdte_addr.msf = {descriptor[5], descriptor[6], descriptor[7]};
        entry.cdte_datamode = (entry.cdte_ctrl & CDROM_DATA_TRACK) ? 1 : 0;
        return 0;
    }
    case CDROMMULTISESSION: { // READ TOC's older form; no later session when track 1 starts the last
        auto& info = *static_cast<cdrom_multisession*>(argument);
        if (info.addr_format != CDROM_LBA) // libcdio asks for an LBA
            return fail(EINVAL);
        if (!ask({0x43, 0, 0, 0, 0, 0, 0, 0, 12, 0x40}))
            return -1;
        info.addr.lba = reply.data[6] <= 1 ? 0 : static_cast<int>(bigEndian(reply.data.data() + 8, 4));
        info.xa_flag = discStatus() == CDS_XA_2_1;
        return 0;
    }
    case CDROM_DISC_STATUS:
        return discStatus();
    case CDROM_SEND_PACKET: { // the sense and EIO, or the transfer and buflen the residual count
        auto& command = *static_cast<cdrom_generic_command*>(argument);
        reply = send(command.cmd);
        if (reply.sense && command.sense != nullptr)
            std::memcpy(command.sense, reply.sense->data(), reply.sense->size());
        if (reply.sense)
            return fail(EIO);
        const size_t count = std::min<size_t>(reply.data.size(), command.buflen);
        if (count > 0)
            std::memcpy(command.buffer, reply.data.data(), count);
        command.stat = 0;
        command.buflen -= static_cast<unsigned>(count);
        return 0;
    }
    case DVD_READ_STRUCT: // a CD-only drive
        return fail(ENOSYS);
    case BLKSECTGET: // in 512-byte units
        *static_cast<unsigned short*>(argument) = static_cast<unsigned short>(maxSectorsKb * 2);
        return 0;
    case driveemulator::kReadDriveCounters:
        *static_cast<DriveCounters*>(argument) = counters;
        return 0;
    case CDROM_SELECT_SPEED: { // SET CD SPEED at 177 kB/s to each 1x, 0 for the fastest, cut to 16 bits
        const auto speed = reinterpret_cast<unsigned long>(argument);
        const unsigned long kbs = speed == 0 ? 0xFFFF : std::min(speed, 0xFFFFul / 177) * 177;
        return ask({0xBB, 0, static_cast<uint8_t>(kbs >> 8), static_cast<uint8_t>(kbs)}) ? 0 : fail(EIO);
    }
    default:
        return fail(ENOTTY);
    }
}

} // namespace driveemulator
