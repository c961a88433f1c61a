#include "CueImageDiscs.h"

#include "TrackWords.h"

namespace fuzzsupport {
namespace {

mkdisc::DiscDescription disc(const char* name, const char* trackWords, mkdisc::DataFileFormat format,
                             bool filePerTrack)
{
    mkdisc::DiscDescription description = testsupport::discOfTrackWords(trackWords, name);
    description.format = format;
    description.filePerTrack = filePerTrack;
    description.writeCdaFiles = false;
    return description;
}

} // namespace

std::vector<mkdisc::DiscDescription> cueImageDiscs()
{
    using mkdisc::DataFileFormat;
    return {
        disc("album", "audio:30 audio:20,pregap=5,flags=dcp+4ch+pre audio:15,silence=10",
             DataFileFormat::Binary, false),
        disc("split", "audio:12 audio:9,pregap=3", DataFileFormat::Binary, true),
        disc("wave", "audio:10 audio:8,pregap=2", DataFileFormat::Wave, true),
        disc("enhanced", "audio:10 audio:10 / mode2:20,byte16=2", DataFileFormat::Binary, false),
        disc("mixed", "mode1:15,byte16=1 audio:12,pregap=4", DataFileFormat::Binary, false),
    };
}

} // namespace fuzzsupport
