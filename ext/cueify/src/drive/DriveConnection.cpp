#include "drive/DriveConnection.h"

#include "core/Failure.h"
#include "core/FullTocReply.h"
#include "drive/DeviceNode.h"
#include "drive/MmcCommands.h"
#include "drive/SessionSplit.h"
#include "drive/TrackTable.h"

#include <cueify/error.h>

#include <map>

#include <sys/stat.h>

namespace cueify {
namespace {

// Two names of one node (/dev/cdrom and /dev/sr0) are one drive.
std::string driveKey(const std::string& path)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) == 0 && (S_ISBLK(status.st_mode) || S_ISCHR(status.st_mode)))
        return "node " + std::to_string(status.st_rdev);
    return path;
}

std::shared_ptr<DriveConnection> openConnection(const std::string& path)
{
    CdioHandle cdio = openCdioDevice(path);
    if (!cdio)
        throw Failure(CUEIFY_ERR_NO_DEVICE, "not a CD drive, or the drive cannot be opened");
    auto connection =
        std::make_shared<DriveConnection>(std::move(cdio), FullTocData{}, readAheadSectorsFor(path));
    std::optional<FullTocData> table;
    try {
        connection->toc = readDriveToc(connection->cdio.get(), table);
        connection->tocRead = true;
    } catch (const Failure&) {
        if (!table)
            throw Failure(CUEIFY_ERR_NO_DEVICE, "no readable disc in the drive");
        // A full TOC the drive sends but that cannot be decoded leaves the track table to place reads.
        connection->toc = std::move(*table);
    }
    return connection;
}

} // namespace

FullTocData readDriveToc(CdIo_t* cdio, std::optional<FullTocData>& table)
{
    table = readTrackTable(cdio);
    if (!table) // no disc: the full TOC would only fail again
        throw Failure(CUEIFY_ERR_INTERNAL, "the drive reports no table of contents");
    if (const std::optional<std::vector<uint8_t>> reply = readFullTocReply(cdio))
        return parseFullTocReply(reply->data(), reply->size(), &*table);
    if (std::optional<LastSessionStart> lastSession = readLastSessionStart(cdio))
        splitAtLastSession(*table, *lastSession);
    return *table;
}

std::shared_ptr<DriveConnection> connectDrive(const std::string& path)
{
    if (!isDeviceNode(path))
        throw Failure(CUEIFY_ERR_NO_DEVICE, "no such drive or disc image");
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<DriveConnection>> open;
    const std::lock_guard<std::mutex> lock(mutex);
    std::weak_ptr<DriveConnection>& entry = open[driveKey(path)];
    std::shared_ptr<DriveConnection> connection = entry.lock();
    if (!connection) {
        connection = openConnection(path);
        entry = connection;
    }
    return connection;
}

} // namespace cueify
