// A physical drive opened through libcdio.
#pragma once

#include "device/Device.h"
#include "drive/CdioLibrary.h"

#include <mutex>

namespace cueify {

class DriveDevice final : public Device
{
public:
    // toc: what the drive reported at open time; it places and types the sectors that raw
    // reads ask for until the next readFullToc.
    DriveDevice(CdioHandle cdio, FullTocData toc) noexcept;

    // The full TOC, or where the drive refuses READ TOC format 2, its ordinary track table split
    // where the last session starts. Throws std::bad_alloc only.
    int readFullToc(FullTocData& toc) override;

    int readRawSector(Lba lba, uint8_t* buffer) override;

private:
    int readTocFromDrive(FullTocData& toc);

    std::mutex m_mutex;
    CdioHandle m_cdio;
    FullTocData m_toc;
};

} // namespace cueify
