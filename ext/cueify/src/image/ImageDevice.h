// A disc image used as a drive: its TOC as a drive reports it, its sectors read from the
// data files as they are at the moment of the read.
#pragma once

#include "device/Device.h"
#include "image/DataFile.h"
#include "image/ImageCdText.h"
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
    ImageDevice(CueSheet sheet, ImageLayout layout, std::vector<OpenedDataFile> files,
                ImageCdText cdText = {}) noexcept;

    FullTocData readFullToc() override;

    // Throws Failure: CUEIFY_ERR_BADARG past the last lead-out; CUEIFY_ERR_INTERNAL between
    // sessions or when the data file no longer holds the whole sector.
    void readRawSector(Lba lba, uint8_t* buffer) override;

    // Throws Failure (CUEIFY_NO_DATA): an image reads the same every time and has no C2 errors.
    void readRawSectorUncachedWithC2(Lba lba, uint8_t* buffer, uint8_t* c2Pointers) override;

    // CATALOG and the tracks' ISRC lines; CUEIFY_NO_DATA where the sheet has none.
    std::string readMcn() override;
    std::string readIsrc(uint8_t track) override;

    // The sheet's INDEX lines and generated pregaps, as the Q sub-channel of the disc would mark them.
    std::vector<IndexMark> readTrackIndices(uint8_t track) override;

    // The CONTROL bits of the TOC, which the Q sub-channel of an image's disc repeats.
    uint8_t readTrackControlFlags(uint8_t track) override;

    // Throws Failure when the sheet's CDTEXTFILE cannot be read or holds malformed packs.
    CdTextData readCdText() override;

    const CueSheet& sheet() const noexcept { return m_sheet; }
    const ImageLayout& layout() const noexcept { return m_layout; }

private:
    const ImageExtent* extentHolding(Lba lba) const noexcept;
    void readStoredSector(const ImageExtent& extent, Lba lba, uint8_t* buffer);

    // The TOC position of a track of the disc; throws Failure for a number it does not hold.
    size_t trackIndexOf(uint8_t track) const;

    CueSheet m_sheet;
    ImageLayout m_layout;
    std::vector<OpenedDataFile> m_files;
    ImageCdText m_cdText;
};

} // namespace cueify
