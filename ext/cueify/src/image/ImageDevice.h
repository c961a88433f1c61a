// A disc image used as a drive: its TOC as a drive reports it, its sectors read from the
// data files as they are at the moment of the read.
#pragma once

#include "device/Device.h"
#include "image/DataFile.h"
#include "image/ImageLayout.h"

#include <memory>
#include <vector>

namespace cueify {

class ImageDevice final : public Device
{
public:
    ImageDevice(ImageLayout layout, std::vector<std::unique_ptr<DataFile>> files) noexcept;

    int readFullToc(FullTocData& toc) override;

    // CUEIFY_ERR_BADARG past the last lead-out; CUEIFY_ERR_INTERNAL between sessions or
    // when the data file no longer holds the whole sector.
    int readRawSector(Lba lba, uint8_t* buffer) override;

private:
    const ImageExtent* extentHolding(Lba lba) const noexcept;

    ImageLayout m_layout;
    std::vector<std::unique_ptr<DataFile>> m_files;
};

} // namespace cueify
