#include "Vantor/Proc/Parsers/ParserCD/TrackSource/CDAFile.h"

#include "Vantor/Core/Interfaces/IDataInput.h"

#include <cstring>

namespace Vantor {
namespace Proc {

// Each field takes its bytes straight from the file, which stores them little-endian like the
// machines this plug-in runs on. What a short read leaves alone keeps its default.
CDAFile::CDAFile(const ioPath& path)
{
    if (path.empty())
        return;
    const SP<Core::IDataInput> file = Core::DataInputFile::Create(path);
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

bool IsValidCDAFile(const CDAFile& file)
{
    return std::strcmp(file.riffId, "RIFF") == 0 && file.riffSize == 36 &&
           std::strcmp(file.formType, "CDDA") == 0 && std::strcmp(file.chunkId, "fmt ") == 0 &&
           file.chunkSize == 24 && file.version == 1;
}

} // namespace Proc
} // namespace Vantor
