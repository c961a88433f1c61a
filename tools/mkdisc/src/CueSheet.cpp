#include "CueSheet.h"

#include "Msf.h"

#include <cstdio>

namespace mkdisc {
namespace {

std::string twoDigits(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02u", value);
    return text;
}

const char* modeName(TrackMode mode)
{
    switch (mode) {
    case TrackMode::Audio:
        return "AUDIO";
    case TrackMode::Mode1Raw:
        return "MODE1/2352";
    case TrackMode::Mode2Raw:
        return "MODE2/2352";
    }
    return "AUDIO";
}

std::string flagsLine(const TrackDescription& track)
{
    std::string flags;
    if (track.digitalCopyPermitted)
        flags += " DCP";
    if (track.fourChannel)
        flags += " 4CH";
    if (track.preEmphasis)
        flags += " PRE";
    return flags.empty() ? flags : "    FLAGS" + flags + "\n";
}

// TRACK and its FLAGS, PREGAP and INDEX lines; indexes count from the start of the track's FILE.
std::string trackLines(const TrackPlacement& track)
{
    const TrackDescription& description = track.description;
    std::string text = "  TRACK " + twoDigits(track.number) + " " + modeName(description.mode) + "\n";
    text += flagsLine(description);
    if (description.silentPregapSectors > 0)
        text += "    PREGAP " + cueTime(description.silentPregapSectors) + "\n";
    if (description.storedPregapSectors > 0)
        text += "    INDEX 00 " + cueTime(track.fileSector) + "\n";
    const uint32_t index1 = track.fileSector + description.storedPregapSectors;
    text += "    INDEX 01 " + cueTime(index1) + "\n";
    if (description.index2Sectors > 0)
        text += "    INDEX 02 " + cueTime(index1 + description.index2Sectors) + "\n";
    return text;
}

} // namespace

std::string cueSheetText(const DiscDescription& description, const DiscGeometry& geometry)
{
    const char* fileType = description.format == DataFileFormat::Wave ? "WAVE" : "BINARY";
    const bool multiSession = geometry.sessionLeadOutLba.size() > 1;
    std::string text;
    const TrackPlacement* previous = nullptr;
    for (const TrackPlacement& track : geometry.tracks) {
        if (multiSession && (!previous || previous->session != track.session))
            text += "REM SESSION " + twoDigits(track.session) + "\n";
        if (!previous || previous->fileIndex != track.fileIndex)
            text += "FILE \"" + geometry.dataFileNames[track.fileIndex] + "\" " + fileType + "\n";
        text += trackLines(track);
        previous = &track;
    }
    return text;
}

} // namespace mkdisc
