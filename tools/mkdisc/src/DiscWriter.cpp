#include "mkdisc/DiscWriter.h"

#include "CueSheet.h"
#include "DiscGeometry.h"
#include "SectorContent.h"
#include "StagedFile.h"
#include "WaveHeader.h"
#include "mkdisc/CdaFile.h"

#include <stdexcept>
#include <system_error>

namespace mkdisc {
namespace {

void createDirectory(const std::filesystem::path& directory)
{
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        throw std::runtime_error("cannot create directory " + directory.string() + ": " + error.message());
}

uint64_t storedSectorsOfFile(const DiscGeometry& geometry, size_t fileIndex)
{
    uint64_t sectors = 0;
    for (const TrackPlacement& track : geometry.tracks) {
        if (track.fileIndex == fileIndex)
            sectors += track.endLba - track.storedPregapLba;
    }
    return sectors;
}

std::filesystem::path writeDataFile(const DiscDescription& description, const DiscGeometry& geometry,
                                    size_t fileIndex, const std::filesystem::path& directory)
{
    StagedFile file(directory / geometry.dataFileNames[fileIndex]);
    if (description.format == DataFileFormat::Wave)
        file.write(waveHeader(storedSectorsOfFile(geometry, fileIndex) * kRawSectorBytes));
    for (const TrackPlacement& track : geometry.tracks) {
        if (track.fileIndex != fileIndex)
            continue;
        for (uint32_t lba = track.storedPregapLba; lba < track.endLba; ++lba)
            file.write(sectorOfTrack(track, lba));
    }
    file.commit();
    return file.path();
}

std::filesystem::path writeCueSheet(const DiscDescription& description, const DiscGeometry& geometry,
                                    const std::filesystem::path& directory)
{
    StagedFile file(directory / (description.name + ".cue"));
    const std::string text = cueSheetText(description, geometry);
    file.write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    file.commit();
    return file.path();
}

std::vector<std::filesystem::path> writeCdaFiles(const DiscLayout& layout, uint32_t serial,
                                                 const std::filesystem::path& directory)
{
    std::vector<std::filesystem::path> files;
    for (const TrackLayout& track : layout.tracks) {
        if (track.audio)
            files.push_back(
                writeCdaFile(directory, {track.number, serial, track.startLba, track.lengthSectors}));
    }
    return files;
}

} // namespace

WrittenDisc writeDisc(const DiscDescription& description, const std::filesystem::path& directory)
{
    const DiscGeometry geometry = placeTracks(description);
    createDirectory(directory);
    WrittenDisc written;
    for (size_t fileIndex = 0; fileIndex < geometry.dataFileNames.size(); ++fileIndex)
        written.dataFiles.push_back(writeDataFile(description, geometry, fileIndex, directory));
    written.cueSheet = writeCueSheet(description, geometry, directory);
    const DiscLayout layout = layoutOf(description);
    written.serial = discSerialNumber(layout);
    if (description.writeCdaFiles)
        written.cdaFiles = writeCdaFiles(layout, written.serial, directory);
    return written;
}

uint32_t discSerialNumber(const DiscLayout& layout)
{
    std::vector<uint32_t> audioStarts;
    uint8_t lastAudioSession = 0;
    for (const TrackLayout& track : layout.tracks) {
        if (track.audio) {
            audioStarts.push_back(track.startLba + kLeadInFrames);
            lastAudioSession = track.session;
        }
    }
    if (audioStarts.empty())
        return 0;
    return cdaSerialNumber(audioStarts, layout.sessionLeadOutLba.at(lastAudioSession - 1u) + kLeadInFrames);
}

Sector sectorAt(const DiscDescription& description, uint32_t lba)
{
    for (const TrackPlacement& track : placeTracks(description).tracks) {
        if (lba >= track.silentPregapLba && lba < track.endLba)
            return sectorOfTrack(track, lba);
    }
    throw std::out_of_range("no sector at LBA " + std::to_string(lba) +
                            ": lead-out, session gap or past the disc");
}

} // namespace mkdisc
