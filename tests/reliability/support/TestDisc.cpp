#include "TestDisc.h"

namespace reliability {
namespace {

mkdisc::TrackSpec audio(uint32_t sectors, uint32_t storedPregap = 0)
{
    mkdisc::TrackSpec track;
    track.sectors = sectors;
    track.storedPregapSectors = storedPregap;
    return track;
}

mkdisc::DiscSpec threeTracks(mkdisc::DataFileFormat format, bool filePerTrack)
{
    mkdisc::DiscSpec description;
    description.name = "album";
    description.format = format;
    description.filePerTrack = filePerTrack;
    description.sessions.push_back({{audio(120), audio(300, 30), audio(90)}});
    return description;
}

} // namespace

TestDisc::TestDisc(const std::filesystem::path& directory, mkdisc::DataFileFormat format, bool filePerTrack)
    : description(threeTracks(format, filePerTrack)), written(mkdisc::writeDisc(description, directory)),
      layout(mkdisc::layoutOf(description))
{
}

std::filesystem::path TestDisc::dataFileOf(unsigned number) const
{
    return written.dataFiles.at(description.filePerTrack ? number - 1 : 0);
}

// The stored sectors of a file follow its header; a file per track starts with that track's pregap.
uint64_t TestDisc::byteOffsetOf(unsigned number, uint32_t k) const
{
    const uint32_t pregap = description.sessions.at(0).tracks.at(number - 1).storedPregapSectors;
    const uint64_t fileSector = description.filePerTrack ? pregap + k : track(number).startLba + k;
    const uint64_t header = description.format == mkdisc::DataFileFormat::Wave ? 44 : 0;
    return header + fileSector * mkdisc::kRawSectorBytes;
}

mkdisc::Sector TestDisc::sector(unsigned number, uint32_t k) const
{
    return mkdisc::sectorAt(description, track(number).startLba + k);
}

} // namespace reliability
