#include "RipLog.h"

#include <cstdio>
#include <sstream>

namespace vantorcd {
namespace {

void headerLines(std::ostream& out, const RipLogHeader& header)
{
    out << "vantor-cd " << VANTOR_CD_VERSION << " rip-disc\n\n";
    out << (header.drive ? "Drive:           " : "Image:           ") << header.source << "\n";
    out << "Read offset:     " << header.readOffset << " samples\n";
    out << "Secure reading:  "
        << (header.drive ? "each sector read until two reads agree, the drive's cache moved away in between"
                         : "none: an image reads the same every time")
        << "\n";
    out << "MusicBrainz ID:  " << header.musicbrainzId << "\n";
    out << "FreeDB ID:       " << hex8(header.freedbId) << "\n";
    out << "AccurateRip ID:  " << header.accurateRipId << "\n";
    if (!header.mcn.empty())
        out << "MCN:             " << header.mcn << "\n";
    out << "AccurateRip:     " << (header.accurateRipNote.empty() ? "not asked" : header.accurateRipNote)
        << "\n";
}

void trackLines(std::ostream& out, const RippedTrack& track)
{
    out << "\nTrack " << track.number << "\n";
    out << "  File:            " << track.fileName << "\n";
    out << "  CRC32:           " << hex8(track.crc32) << "\n";
    if (track.number == 0)
        return; // hidden audio has no AccurateRip CRCs
    out << "  AccurateRip v1:  " << hex8(track.accurateRipV1) << "\n";
    out << "  AccurateRip v2:  " << hex8(track.accurateRipV2) << "\n";
    out << "  Re-reads:        " << track.rereads << "\n";
    out << "  Verdict:         " << track.verdict << "\n";
}

} // namespace

std::string hex8(uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

std::string ripLogText(const RipLogHeader& header, const std::vector<RippedTrack>& tracks)
{
    std::ostringstream out;
    headerLines(out, header);
    for (const RippedTrack& track : tracks)
        trackLines(out, track);
    return out.str();
}

} // namespace vantorcd
