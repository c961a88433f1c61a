// One device interface with one implementation per kind of disc source.
#pragma once

#include "core/Addressing.h"
#include "core/FullTocData.h"

#include <cueify/error.h>

#include <cstdint>
#include <cstring>
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

    // Whether readRawSectorWithC2 reports the errors a drive could not correct.
    virtual bool offersC2Pointers() { return false; }

    // readRawSector, and the sector's C2 error pointers in kC2PointerBytes: a bit per byte of the
    // sector, most significant first, set where the drive could not correct that byte. A source
    // that does not offer them reports every byte as read without error.
    virtual int readRawSectorWithC2(Lba lba, uint8_t* buffer, uint8_t* c2Pointers)
    {
        const int result = readRawSector(lba, buffer);
        if (result == CUEIFY_OK && c2Pointers != nullptr)
            std::memset(c2Pointers, 0, kC2PointerBytes);
        return result;
    }
};

// Opens a CUE sheet, or a directory holding exactly one CUE sheet. Sets error and returns null
// when the path is no disc image.
std::unique_ptr<Device> openImage(const std::string& path, int& error);

// Opens a physical drive through libcdio.
std::unique_ptr<Device> openDrive(const std::string& path, int& error);

// True when the path names a disc image (a CUE sheet or a directory holding one).
bool isImagePath(const std::string& path);

// The physical drives this machine has, in the order the platform lists them.
std::vector<std::string> listPhysicalDrives();

// The first physical drive, or empty when there is none.
std::string defaultPhysicalDrive();

} // namespace cueify
