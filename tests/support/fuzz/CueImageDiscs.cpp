#include "CueImageDiscs.h"

namespace fuzzsupport {
namespace {

using mkdisc::DataFileFormat;
using mkdisc::TrackMode;
using mkdisc::TrackSpec;

TrackSpec audio(uint32_t sectors, uint32_t storedPregap = 0, uint32_t silentPregap = 0)
{
    TrackSpec track;
    track.sectors = sectors;
    track.storedPregapSectors = storedPregap;
    track.silentPregapSectors = silentPregap;
    return track;
}

TrackSpec flagged(TrackSpec track)
{
    track.digitalCopyPermitted = true;
    track.preEmphasis = true;
    track.fourChannel = true;
    return track;
}

TrackSpec data(TrackMode mode, uint32_t sectors, uint8_t modeByte)
{
    TrackSpec track;
    track.mode = mode;
    track.sectors = sectors;
    track.dataModeByte = modeByte;
    return track;
}

mkdisc::DiscSpec disc(const char* name, DataFileFormat format, bool filePerTrack,
                      std::vector<mkdisc::SessionSpec> sessions)
{
    mkdisc::DiscSpec description;
    description.name = name;
    description.format = format;
    description.filePerTrack = filePerTrack;
    description.sessions = std::move(sessions);
    description.writeCdaFiles = false;
    return description;
}

} // namespace

std::vector<mkdisc::DiscSpec> cueImageDiscs()
{
    return {
        disc("album", DataFileFormat::Binary, false,
             {{{audio(30), flagged(audio(20, 5)), audio(15, 0, 10)}}}),
        disc("split", DataFileFormat::Binary, true, {{{audio(12), audio(9, 3)}}}),
        disc("wave", DataFileFormat::Wave, true, {{{audio(10), audio(8, 2)}}}),
        disc("enhanced", DataFileFormat::Binary, false,
             {{{audio(10), audio(10)}}, {{data(TrackMode::Mode2Raw, 20, 2)}}}),
        disc("mixed", DataFileFormat::Binary, false, {{{data(TrackMode::Mode1Raw, 15, 1), audio(12, 4)}}}),
    };
}

} // namespace fuzzsupport
