#include "image/DataFile.h"

#include "image/WaveFormat.h"

namespace cueify {

DataFile DataFile::open(const std::filesystem::path& path, DataFileType type)
{
    FileDescriptor file = FileDescriptor::openRegularFile(path);
    if (type == DataFileType::Binary) {
        const uint64_t bytes = file.size();
        return DataFile(std::move(file), 0, bytes);
    }
    const PcmData samples = findCdAudioSamples(file);
    return DataFile(std::move(file), samples.offset, samples.bytes);
}

bool DataFile::readSector(FileSector sector, uint8_t* buffer) const noexcept
{
    if (sector.value >= sectorCount())
        return false;
    return m_file.readExact(m_offset + byteOffsetOf(sector), buffer, kRawSectorBytes);
}

} // namespace cueify
