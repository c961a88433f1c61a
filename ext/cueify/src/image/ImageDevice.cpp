#include "image/ImageDevice.h"

#include <cueify/error.h>

#include <algorithm>
#include <cstring>

namespace cueify {

ImageDevice::ImageDevice(ImageLayout layout, std::vector<std::unique_ptr<DataFile>> files) noexcept
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
        return CUEIFY_ERR_BADARG;
    const ImageExtent* extent = extentHolding(lba);
    if (!extent)
        return CUEIFY_ERR_INTERNAL;
    if (!extent->file) {
        std::memset(buffer, 0, kRawSectorBytes);
        return CUEIFY_OK;
    }
    const FileSector sector{extent->fileStart.value + (lba.value - extent->start.value)};
    return m_files[*extent->file]->read(byteOffsetOf(sector), buffer, kRawSectorBytes) ? CUEIFY_OK
                                                                                       : CUEIFY_ERR_INTERNAL;
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
