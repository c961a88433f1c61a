// The 44-byte RIFF "CDDA" file that stands for one audio track of a CD: the track's number and the
// serial number of its disc.
#pragma once

#include "Vantor/Core/Interfaces/ioPath.h"

#include <cstdint>

namespace Vantor {
namespace Proc {

// The file's fields as read, in file order. Fields the file does not fill keep defaults that no
// valid file has ("init" tags, zero sizes and version), so a short file fails validation.
struct CDAFile
{
    // Reads nothing for an empty path. Errors of the host's file input pass out unchanged.
    explicit CDAFile(const ioPath& path);

    char riffId[5] = "init";
    uint32_t riffSize = 0;
    char formType[5] = "init";
    char chunkId[5] = "init";
    uint32_t chunkSize = 0;
    uint16_t version = 0;
    uint16_t track = 0;
    uint32_t serial = 0;
    uint32_t startSector = 0;
    uint32_t sectorLength = 0;
    uint8_t startMsf[4] = {};
    uint8_t lengthMsf[4] = {};
};

// The tags exactly, in their case and without a NUL, RIFF size 36, chunk size 24 and version 1.
bool IsValidCDAFile(const CDAFile& file);

} // namespace Proc
} // namespace Vantor
