// The emulator seen through libcdio, its client: what cd-info and a ripper ask of a drive beyond
// what the drive backend sends, and the SCSI transports below it.
#include "EmulatedDrives.h"
#include "mkdisc/DiscWriter.h"

#include <cdio/cdio.h>
#include <cdio/mmc.h>
#include <cdio/mmc_ll_cmds.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>

#include <cstring>
#include <memory>

namespace {

// Track 1 has 20 sectors of pregap from LBA 0; session 2 starts at 120 + 11,400.
constexpr const char* kTracks = "audio:100,pregap=20 / mode1:60";
constexpr lsn_t kSecondSession = 11520;
using Cdio = std::unique_ptr<CdIo_t, decltype(&cdio_destroy)>;
using Text = std::unique_ptr<char, decltype(&cdio_free)>;

class DriveEmulator : public ::testing::Test
{
protected:
    Cdio drive{cdio_open("/dev/sr1", DRIVER_DEVICE), &cdio_destroy};
    mkdisc::DiscDescription disc = testsupport::discOfTrackWords(kTracks);

    std::string written(uint32_t lba, size_t from = 0, size_t size = CDIO_CD_FRAMESIZE_RAW) const
    {
        const mkdisc::Sector sector = mkdisc::sectorAt(disc, lba);
        return std::string(sector.begin() + from, sector.begin() + from + size);
    }
};

TEST_F(DriveEmulator, AnswersWhatDiscInformationToolsAsk)
{
    ASSERT_TRUE(drive);
    cdio_hwinfo_t hardware{};
    ASSERT_TRUE(cdio_get_hwinfo(drive.get(), &hardware));
    EXPECT_EQ(std::string(hardware.psz_vendor) + "|" + hardware.psz_model + "|" + hardware.psz_revision,
              "EMULATED|CD-ROM DRIVE    |1.0 ");
    cdio_drive_read_cap_t read = 0;
    cdio_drive_write_cap_t write = 0;
    cdio_drive_misc_cap_t misc = 0;
    cdio_get_drive_cap(drive.get(), &read, &write, &misc);
    EXPECT_EQ(read & (CDIO_DRIVE_CAP_READ_C2_ERRS | CDIO_DRIVE_CAP_READ_ISRC | CDIO_DRIVE_CAP_ERROR),
              CDIO_DRIVE_CAP_READ_C2_ERRS | CDIO_DRIVE_CAP_READ_ISRC);
    const Text mcn(cdio_get_mcn(drive.get()), &cdio_free);
    ASSERT_NE(mcn, nullptr);
    EXPECT_STREQ(mcn.get(), ""); // no catalogue number, as on most discs
    EXPECT_EQ(Text(cdio_get_track_isrc(drive.get(), 1), &cdio_free), nullptr);
    lsn_t lastSession = 0;
    EXPECT_EQ(cdio_get_last_session(drive.get(), &lastSession), DRIVER_OP_SUCCESS);
    EXPECT_EQ(lastSession, kSecondSession);
    EXPECT_EQ(cdio_get_discmode(drive.get()), CDIO_DISC_MODE_CD_DA);
}

// libcdio returns the byte count, 2048, for a mode-1 sector read, outside its own result type.
TEST_F(DriveEmulator, BlockDeviceReadsMode1UserDataAndRefusesAudio)
{
    char data[CDIO_CD_FRAMESIZE] = {};
    EXPECT_EQ(static_cast<int>(cdio_read_mode1_sector(drive.get(), data, kSecondSession + 3, false)), 2048);
    EXPECT_EQ(std::string(data, sizeof data), written(kSecondSession + 3, 16, sizeof data));
    EXPECT_NE(static_cast<int>(cdio_read_mode1_sector(drive.get(), data, 30, false)), 2048);
}

// The Q sub-channel counts down to INDEX 01 in the pregap and up from it in the track.
TEST_F(DriveEmulator, QSubChannelFollowsTheAudioSector)
{
    for (const auto& [lsn, q] : {std::pair<lsn_t, const char*>{5, "\x01\x01\0\0\0\x15\0\0\x02\x05"},
                                 {30, "\x01\x01\x01\0\0\x10\0\0\x02\x30"}}) {
        char block[CDIO_CD_FRAMESIZE_RAW + 16] = {};
        ASSERT_EQ(mmc_read_cd(drive.get(), block, lsn, CDIO_MMC_READ_TYPE_CDDA, false, false, 0, true, false,
                              0, 2, sizeof block, 1),
                  DRIVER_OP_SUCCESS);
        EXPECT_EQ(std::string(block, CDIO_CD_FRAMESIZE_RAW), written(static_cast<uint32_t>(lsn)));
        EXPECT_EQ(std::string(block + CDIO_CD_FRAMESIZE_RAW, 10), std::string(q, 10)) << lsn;
    }
}

// In order: each command after READ CD MSF sees the state it left.
TEST_F(DriveEmulator, AnswersCapacityConfigurationPositionAndSense)
{
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {{0xB9, 0, 0, 0, 2, 30, 0, 2, 31, 0x10}, written(30)}, // READ CD MSF, 00:02:30 to 00:02:31
        {{0x25}, std::string("\0\0\x2D\x3B\0\0\x08\0", 8)},    // READ CAPACITY: last LBA 11579, 2048 bytes
        {{0x46, 0, 0, 0, 0, 0, 0, 0, 16}, std::string("\0\0\0\x10\0\0\0\x08\0\0\x03\x04\0\x08\x01\0", 16)},
        // READ SUB-CHANNEL, current position: track 1, index 1, LBA 30, 10 sectors into the track.
        {{0x42, 0, 0x40, 1, 0, 0, 0, 0, 16},
         std::string("\0\x15\0\x0C\x01\x10\x01\x01\0\0\0\x1E\0\0\0\x0A", 16)},
        {{0xBE, 0, 0, 0, 0x40, 0, 0, 0, 1, 0x10}, "failed"}, // past the disc
        // REQUEST SENSE: ILLEGAL REQUEST, LOGICAL BLOCK ADDRESS OUT OF RANGE, from the READ CD before.
        {{0x03, 0, 0, 0, 18}, std::string("\x70\0\x05\0\0\0\0\x0A\0\0\0\0\x21\0\0\0\0\0", 18)},
    };
    for (const auto& [command, expected] : cases) {
        mmc_cdb_t cdb{};
        std::copy(command.begin(), command.end(), cdb.field);
        std::string reply(expected == "failed" ? CDIO_CD_FRAMESIZE_RAW : expected.size(), '\0');
        if (mmc_run_cmd(drive.get(), 0, &cdb, SCSI_MMC_DATA_READ, static_cast<unsigned>(reply.size()),
                        reply.data()) != DRIVER_OP_SUCCESS)
            reply = "failed";
        EXPECT_EQ(reply, expected) << int(command.front());
    }
}

// The kernel tries a command ten more times while the drive says it is becoming ready.
TEST_F(DriveEmulator, ADriveBecomingReadyAnswersNotReadyUntilItIs)
{
    const Cdio late(cdio_open("/dev/sr2", DRIVER_DEVICE), &cdio_destroy);
    ASSERT_TRUE(late);
    EXPECT_NE(mmc_test_unit_ready(late.get(), 0), DRIVER_OP_SUCCESS);
    cdio_mmc_request_sense_t* sense = nullptr;
    ASSERT_GT(mmc_last_cmd_sense(late.get(), &sense), 0);
    EXPECT_EQ(std::string({char(sense->sense_key), char(sense->asc), char(sense->ascq)}), "\x02\x04\x01");
    cdio_free(sense);
    EXPECT_EQ(mmc_test_unit_ready(late.get(), 0), DRIVER_OP_SUCCESS);
}

TEST_F(DriveEmulator, SgIoCarriesCommandsAndSenseAsTheKernelDoes)
{
    const int fd = ::open("/dev/sr1", O_RDONLY | O_NONBLOCK);
    uint8_t inquiry[6] = {0x12, 0, 0, 0, 36, 0},
            readPastTheDisc[12] = {0xBE, 0, 0, 0, 0x40, 0, 0, 0, 1, 0x10};
    uint8_t reply[64] = {}, sense[32] = {};
    sg_io_hdr_t io{};
    io.interface_id = 'S';
    io.dxfer_direction = SG_DXFER_FROM_DEV;
    io.cmd_len = sizeof inquiry;
    io.cmdp = inquiry;
    io.dxferp = reply;
    io.dxfer_len = sizeof reply;
    io.sbp = sense;
    io.mx_sb_len = sizeof sense;
    ASSERT_EQ(ioctl(fd, SG_IO, &io), 0);
    EXPECT_EQ(io.status, 0);
    EXPECT_EQ(io.resid, 64 - 36);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply) + 8, 8), "EMULATED");
    io.cmd_len = sizeof readPastTheDisc;
    io.cmdp = readPastTheDisc;
    ASSERT_EQ(ioctl(fd, SG_IO, &io), 0);
    EXPECT_EQ(io.status, 0x02);
    EXPECT_EQ(std::string({char(sense[2]), char(sense[12]), char(sense[13])}),
              std::string("\x05\x21\x00", 3));
    EXPECT_EQ(io.sb_len_wr, 18);
    ::close(fd);
}

} // namespace

int main(int argc, char** argv)
{
    testsupport::runWithEmulatedDrives(argv, "/dev/sr1 " + std::string(kTracks) +
                                                 ";/dev/sr2 ready-after=12 audio:50");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
