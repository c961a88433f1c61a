// One device interface with one implementation per kind of disc source.
#pragma once

#include "core/Addressing.h"
#include "core/FullTocData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cueify {

// An opened disc source. Methods return cueify result codes (CUEIFY_OK on success).
class Device
{
public:
    virtual ~Device() = default;

    virtual int readFullToc(FullTocData& toc) = 0;

    // Fills all CUEIFY_RAW_SECTOR_SIZE bytes of buffer, or fails.
    virtual int readRawSector(Lba lba, uint8_t* buffer) = 0;
};

// Opens a CUE sheet, or a directory holding exactly one CUE sheet. Throws Failure with
// CUEIFY_ERR_NO_DEVICE and the reason when the image cannot be read.
std::unique_ptr<Device> openImage(const std::string& path);

// Opens a physical drive through libcdio.
std::unique_ptr<Device> openDrive(const std::string& path, int& error);

// True when the path names a disc image (a CUE sheet or a directory holding one).
bool isImagePath(const std::string& path);

// The physical drives this machine has, in the order the platform lists them.
std::vector<std::string> listPhysicalDrives();

// The first physical drive, or empty when there is none.
std::string defaultPhysicalDrive();

} // namespace cueify
