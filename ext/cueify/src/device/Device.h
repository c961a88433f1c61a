// One device interface with one implementation per kind of disc source.
#pragma once

#include "core/Addressing.h"
#include "core/CdTextData.h"
#include "core/Failure.h"
#include "core/FullTocData.h"

#include <cueify/error.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cueify {

struct IndexMark
{
    uint8_t number = 0;
    AbsoluteFrame address;
};

// An opened disc source. Methods throw Failure with the code the C API returns for the failure.
class Device
{
public:
    virtual ~Device() = default;

    // Throws Failure where the source gives no TOC, or one that cannot be decoded.
    virtual FullTocData readFullToc() = 0;

    // Fills all CUEIFY_RAW_SECTOR_SIZE bytes of buffer, or throws Failure: CUEIFY_ERR_BADARG for a
    // sector past the disc's end, CUEIFY_ERR_INTERNAL for one that cannot be read. A backend may
    // serve the sector from what it read ahead of earlier requests.
    virtual void readRawSector(Lba lba, uint8_t* buffer) = 0;

    // readRawSector from the disc itself, for re-reading a sector whose first read is in doubt:
    // past anything read ahead, and past the drive's own cache where it has one. It costs more
    // than readRawSector and leaves what was read ahead as it was.
    virtual void readRawSectorUncached(Lba lba, uint8_t* buffer) { readRawSector(lba, buffer); }

    // Asks the source to read at speed times 1x, 0 for its fastest. Throws Failure
    // (CUEIFY_ERR_INTERNAL) when a drive refuses; a source without a speed ignores the call.
    virtual void setReadSpeed(unsigned /*speed*/) {}

    // The disc's media catalogue number (13 digits) or a track's ISRC (12 characters). Throws
    // Failure: CUEIFY_NO_DATA when the disc carries none, CUEIFY_ERR_INTERNAL when the backend
    // cannot read them.
    virtual std::string readMcn()
    {
        throw Failure(CUEIFY_ERR_INTERNAL, "this device does not report the media catalogue number");
    }
    virtual std::string readIsrc(uint8_t /*track*/)
    {
        throw Failure(CUEIFY_ERR_INTERNAL, "this device does not report ISRCs");
    }

    // The indices of a track as the Q sub-channel marks them: INDEX 01, 02, ..., then the next
    // track's INDEX 00 when its pregap lies in this track's span. Throws Failure.
    virtual std::vector<IndexMark> readTrackIndices(uint8_t /*track*/)
    {
        throw Failure(CUEIFY_ERR_INTERNAL, "this device does not report track indices");
    }

    // The CONTROL bits the Q sub-channel carries at the track's start; 0x0F where the backend
    // reads no sub-channel. Throws Failure.
    virtual uint8_t readTrackControlFlags(uint8_t /*track*/) { return 0x0F; }

    // readRawSectorUncached, and the sector's C2 error pointers in kC2PointerBytes: a bit per byte
    // of the sector, most significant first, set where the drive could not correct that byte.
    // Throws Failure (CUEIFY_NO_DATA) where the source reports no C2 errors: a drive without C2
    // pointers, and a disc image, which reads the same every time and has no errors to report.
    virtual void readRawSectorUncachedWithC2(Lba /*lba*/, uint8_t* /*buffer*/, uint8_t* /*c2Pointers*/)
    {
        throw Failure(CUEIFY_NO_DATA, "this device reports no C2 error pointers");
    }

    // The disc's CD-Text; a disc without any gives CD-Text without a block. Throws Failure
    // (CUEIFY_ERR_INTERNAL) where the backend cannot read it.
    virtual CdTextData readCdText()
    {
        throw Failure(CUEIFY_ERR_INTERNAL, "this device does not report CD-Text");
    }
};

// Opens a CUE sheet, or a directory holding exactly one CUE sheet. Throws Failure with
// CUEIFY_ERR_NO_DEVICE and the reason when the image cannot be read.
std::unique_ptr<Device> openImage(const std::string& path);

// Opens a physical drive through libcdio. Throws Failure with CUEIFY_ERR_NO_DEVICE and the reason
// when the path names no drive, or the drive holds no readable disc.
std::unique_ptr<Device> openDrive(const std::string& path);

// True when the path names a disc image (a CUE sheet or a directory holding one).
bool isImagePath(const std::string& path);

// The physical drives this machine has, in the order the platform lists them.
std::vector<std::string> listPhysicalDrives();

} // namespace cueify
