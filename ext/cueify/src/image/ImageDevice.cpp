#include "image/ImageDevice.h"

#include "core/Failure.h"

#include <cueify/error.h>

#include <algorithm>
#include <cstring>

namespace cueify {

ImageDevice::ImageDevice(ImageLayout layout, std::vector<OpenedDataFile> files) noexcept
    : m_layout(std::move(layout)), m_files(std::move(files))
{
}

int ImageDevice::readFullToc(FullTocData& toc)
{
    toc = m_layout.toc;
    return CUEIFY_OK;
}

int ImageDevice::readRawSector(Lba lba, uint8_t* buffer)
{
    if (lba.value >= m_layout.end.value)
        throw Failure(CUEIFY_ERR_BADARG, "LBA " + std::to_string(lba.value) +
                                             " lies past the end of the disc (LBA " +
                                             std::to_string(m_layout.end.value) + ")");
    const ImageExtent* extent = extentHolding(lba);
    if (!extent)
        throw Failure(CUEIFY_ERR_INTERNAL, "LBA " + std::to_string(lba.value) +
                                               " lies between two sessions, where the disc holds no data");
    if (extent->file)
        readStoredSector(*extent, lba, buffer);
    else
        std::memset(buffer, 0, kRawSectorBytes);
    return CUEIFY_OK;
}

void ImageDevice::readStoredSector(const ImageExtent& extent, Lba lba, uint8_t* buffer)
{
    const OpenedDataFile& opened = m_files[*extent.file];
    const uint64_t offset =
        extent.fileOffset + uint64_t{lba.value - extent.start.value} * storedSectorBytes(extent.mode);
    // Raw sectors are stored whole; CD+G keeps its sub-channel after the 2352 audio bytes.
    if (!opened.file->read(offset, buffer, kRawSectorBytes))
        throw Failure(CUEIFY_ERR_INTERNAL,
                      "'" + opened.name + "' ends before the sector at LBA " + std::to_string(lba.value));
}

const ImageExtent* ImageDevice::extentHolding(Lba lba) const noexcept
{
    const auto& extents = m_layout.extents;
    auto after = std::upper_bound(
        extents.begin(), extents.end(), lba.value,
        [](uint32_t value, const ImageExtent& extent) { return value < extent.start.value; });
    if (after == extents.begin())
        return nullptr;
    const ImageExtent& extent = *std::prev(after);
    return lba.value - extent.start.value < extent.sectors ? &extent : nullptr;
}

} // namespace cueify
