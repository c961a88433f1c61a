#include "TestDisc.h"

#include "TrackWords.h"

namespace reliability {
namespace {

mkdisc::DiscDescription threeTracks(mkdisc::DataFileFormat format, bool filePerTrack)
{
    mkdisc::DiscDescription description =
        testsupport::discOfTrackWords("audio:120 audio:300,pregap=30 audio:90", "album");
    description.format = format;
    description.filePerTrack = filePerTrack;
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
