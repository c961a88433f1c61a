// The 44-byte RIFF "CDDA" file that stands for one audio track of a CD. Only the parser's open
// reads it, so the record lives in an anonymous namespace of that one unit.
#pragma once

#include "Vantor/Core/Interfaces/IDataInput.h"
#include "Vantor/Core/Interfaces/ioPath.h"

#include <cstdint>

namespace {

// The file's fields as read, in file order. Fields the file does not fill keep defaults that no
// valid file has ("init" tags, zero sizes and version), so a short file fails validation.
struct CDAFile
{
    // Reads nothing for an empty path. Errors of the host's file input pass out unchanged.
    explicit CDAFile(const Vantor::ioPath& path);

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

// Each field takes its bytes straight from the file, which stores them little-endian like the
// machines this plug-in runs on. What a short read leaves alone keeps its default.
inline CDAFile::CDAFile(const Vantor::ioPath& path)
{
    if (path.empty())
        return;
    const Vantor::SP<Vantor::Core::IDataInput> file = Vantor::Core::DataInputFile::Create(path);
    file->Read(riffId, 4);
    file->Read(&riffSize, sizeof riffSize);
    file->Read(formType, 4);
    file->Read(chunkId, 4);
    file->Read(&chunkSize, sizeof chunkSize);
    file->Read(&version, sizeof version);
    file->Read(&track, sizeof track);
    file->Read(&serial, sizeof serial);
    file->Read(&startSector, sizeof startSector);
    file->Read(&sectorLength, sizeof sectorLength);
    file->Read(startMsf, sizeof startMsf);
    file->Read(lengthMsf, sizeof lengthMsf);
}

} // namespace
