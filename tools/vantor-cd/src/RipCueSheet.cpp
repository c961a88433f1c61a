#include "RipCueSheet.h"

#include <cstdio>
#include <sstream>

namespace vantorcd {
namespace {

// A CUE sheet has no escape for a double quote inside a quoted value.
std::string quotedValue(std::string text)
{
    for (char& c : text)
        c = c == '"' ? '\'' : c;
    return "\"" + text + "\"";
}

void trackLines(std::ostream& out, const RippedTrack& track)
{
    char number[8];
    std::snprintf(number, sizeof number, "%02u", track.number);
    out << "  TRACK " << number << " AUDIO\n";
    if (!track.isrc.empty())
        out << "    ISRC " << track.isrc << "\n";
    if (!track.title.empty())
        out << "    TITLE " << quotedValue(track.title) << "\n";
    if (!track.performer.empty())
        out << "    PERFORMER " << quotedValue(track.performer) << "\n";
}

void fileLine(std::ostream& out, const RippedTrack& track)
{
    out << "FILE " << quotedValue(track.fileName) << " WAVE\n";
}

void discLines(std::ostream& out, const DiscIdentity& disc)
{
    if (!disc.mcn.empty())
        out << "CATALOG " << disc.mcn << "\n";
    if (!disc.cdText.performer.empty())
        out << "PERFORMER " << quotedValue(disc.cdText.performer) << "\n";
    if (!disc.cdText.title.empty())
        out << "TITLE " << quotedValue(disc.cdText.title) << "\n";
}

} // namespace

std::string cueTime(uint32_t sectors)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", sectors / 75 / 60, sectors / 75 % 60, sectors % 75);
    return text;
}

std::string ripCueSheet(const DiscIdentity& disc, const std::vector<RippedTrack>& tracks)
{
    std::ostringstream out;
    discLines(out, disc);
    const RippedTrack* previous = nullptr; // the file a pregap lies at the end of
    for (const RippedTrack& track : tracks) {
        if (track.number == 0) {
            fileLine(out, track);
            previous = &track;
            continue;
        }
        const bool pregapInPrevious = previous && track.pregapSectors > 0;
        if (pregapInPrevious) {
            trackLines(out, track);
            out << "    INDEX 00 " << cueTime(previous->sectors - track.pregapSectors) << "\n";
            fileLine(out, track);
        } else {
            fileLine(out, track);
            trackLines(out, track);
        }
        out << "    INDEX 01 00:00:00\n";
        previous = &track;
    }
    return out.str();
}

} // namespace vantorcd
