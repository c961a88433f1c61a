#include "drive/SessionInfo.h"

#include <cdio/mmc.h>
#include <cdio/mmc_ll_cmds.h>
#include <cdio/mmc_util.h>

#include <array>

namespace cueify {

namespace {

constexpr uint8_t kSessionInfoFormat = 1;
constexpr size_t kSessionInfoSize = 12; // header and one track descriptor
constexpr uint8_t kPresumedLastSession = 2;

uint32_t bigEndian32(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

std::optional<LastSessionStart> fromSessionInfo(const CdIo_t* cdio)
{
    std::array<uint8_t, kSessionInfoSize> reply{};
    mmc_cdb_t cdb{};
    CDIO_MMC_SET_COMMAND(cdb.field, CDIO_MMC_GPCMD_READ_TOC);
    cdb.field[2] = kSessionInfoFormat; // addresses as logical block addresses
    CDIO_MMC_SET_READ_LENGTH16(cdb.field, reply.size());
    if (mmc_run_cmd(cdio, MMC_TIMEOUT_DEFAULT, &cdb, SCSI_MMC_DATA_READ, reply.size(), reply.data()) !=
        DRIVER_OP_SUCCESS)
        return std::nullopt;
    const uint8_t lastSession = reply[3];
    const uint32_t start = bigEndian32(&reply[8]);
    if (lastSession == 0 || start > UINT32_MAX - kLeadInFrames)
        return std::nullopt;
    return LastSessionStart{lastSession, toAbsolute(Lba{start})};
}

std::optional<LastSessionStart> fromMultisession(CdIo_t* cdio)
{
    lsn_t start = 0;
    if (cdio_get_last_session(cdio, &start) != DRIVER_OP_SUCCESS || start <= 0)
        return std::nullopt;
    return LastSessionStart{kPresumedLastSession, toAbsolute(Lba{static_cast<uint32_t>(start)})};
}

} // namespace

std::optional<LastSessionStart> readLastSessionStart(CdIo_t* cdio)
{
    std::optional<LastSessionStart> info = fromSessionInfo(cdio);
    return info ? info : fromMultisession(cdio);
}

} // namespace cueify
