// A disc image used as a drive: its TOC as a drive reports it, its sectors read from the
// data files as they are at the moment of the read.
#pragma once

#include "device/Device.h"
#include "image/DataFile.h"
#include "image/ImageLayout.h"

#include <memory>
#include <string>
#include <vector>

namespace cueify {

struct OpenedDataFile
{
    std::string name; // as the sheet names it
    std::unique_ptr<DataFile> file;
};

class ImageDevice final : public Device
{
public:
    ImageDevice(ImageLayout layout, std::vector<OpenedDataFile> files) noexcept;

    int readFullToc(FullTocData& toc) override;

    // Throws Failure: CUEIFY_ERR_BADARG past the last lead-out; CUEIFY_ERR_INTERNAL between
    // sessions or when the data file no longer holds the whole sector.
    int readRawSector(Lba lba, uint8_t* buffer) override;

    const ImageLayout& layout() const noexcept { return m_layout; }

private:
    const ImageExtent* extentHolding(Lba lba) const noexcept;
    void readStoredSector(const ImageExtent& extent, Lba lba, uint8_t* buffer);

    ImageLayout m_layout;
    std::vector<OpenedDataFile> m_files;
};

} // namespace cueify
