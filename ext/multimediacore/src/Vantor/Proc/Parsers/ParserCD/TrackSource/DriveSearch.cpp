#include "Vantor/Proc/Parsers/ParserCD/TrackSource/DriveSearch.h"

#include "Vantor/Core/Interfaces/ioPath.h"
#include "Vantor/Proc/Parsers/ParserCD/Private/CueifyWrapper.h"
#include "Vantor/Proc/Parsers/ParserCD/TrackSource/CDAFile.h"
#include "Vantor/Proc/Parsers/ParserCD/TrackSource/TrackPath.h"

#include <cueify/cueify.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace Vantor {
namespace Proc {

namespace {

// The first regular file of the directory, in listing order, whose extension is .cda in any case.
std::optional<ioPath> FirstCdaFile(const ioPath& directory)
{
    for (ioPath::iterator entry(directory), end; entry != end; ++entry) {
        if (entry->is_regular_file() && FormatNameOf(*entry) == "cda")
            return *entry;
    }
    return std::nullopt;
}

// A drive that cannot be opened or whose first sector cannot be read holds no playable disc.
bool CanReadFirstSector(const char* drive)
{
    std::shared_ptr<cueify_device> device;
    try {
        device = OpenDevice(ioPath(drive));
    } catch (...) {
        return false;
    }
    std::vector<uint8_t> sector(CUEIFY_RAW_SECTOR_SIZE, 0);
    return cueify_device_read_raw(device.get(), 0, sector.data()) == CUEIFY_OK;
}

// Drives are named by directories that hold the disc's .cda files; only the first one is compared.
bool HoldsDiscWithSerial(const char* drive, uint32_t serial)
{
    const ioPath directory(drive);
    if (directory.empty() || !directory.exists() || !directory.is_directory())
        return false;
    const std::optional<ioPath> cdaFile = FirstCdaFile(directory);
    if (!cdaFile || CDAFile(*cdaFile).serial != serial)
        return false;
    return CanReadFirstSector(drive);
}

} // namespace

ListedDrives::ListedDrives() : m_names(cueify_device_get_all_devices(&m_count)) {}

void ListedDrives::FreeBlock::operator()(char** block) const noexcept
{
    std::free(block);
}

std::optional<std::string> FindDriveWithSerial(uint32_t serial)
{
    const ListedDrives drives;
    for (size_t i = 0; i < drives.size(); ++i) {
        if (drives[i] != nullptr && HoldsDiscWithSerial(drives[i], serial))
            return std::string(drives[i]);
    }
    return std::nullopt;
}

} // namespace Proc
} // namespace Vantor
