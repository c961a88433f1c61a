#include "DescriptionCheck.h"

#include <stdexcept>
#include <string>

namespace mkdisc {
namespace {

void checkName(const std::string& name)
{
    // The name becomes file names and a quoted CUE string.
    if (name.empty() || name == "." || name == "..")
        throw std::invalid_argument("disc name \"" + name + "\" cannot name a file");
    for (char c : name) {
        if (c == '/' || c == '"' || static_cast<unsigned char>(c) < 0x20)
            throw std::invalid_argument("disc name \"" + name + "\" has a character a CUE sheet cannot hold");
    }
}

void checkTrack(const DiscDescription& description, const TrackDescription& track, unsigned number)
{
    if (track.sectors == 0)
        throw std::invalid_argument("track " + std::to_string(number) + " has no sectors");
    if (track.index2Sectors >= track.sectors)
        throw std::invalid_argument("track " + std::to_string(number) + "'s INDEX 02 lies past its end");
    if (description.format == DataFileFormat::Wave && track.mode != TrackMode::Audio)
        throw std::invalid_argument("track " + std::to_string(number) +
                                    " is a data track: WAVE files hold audio only");
}

} // namespace

void checkDescription(const DiscDescription& description)
{
    checkName(description.name);
    if (description.sessions.empty())
        throw std::invalid_argument("a disc needs at least one session");
    unsigned number = 0;
    for (size_t session = 0; session < description.sessions.size(); ++session) {
        if (description.sessions[session].tracks.empty())
            throw std::invalid_argument("session " + std::to_string(session + 1) + " has no tracks");
        for (const TrackDescription& track : description.sessions[session].tracks)
            checkTrack(description, track, ++number);
    }
    if (number > kMaxTracks)
        throw std::invalid_argument("a disc holds at most 99 tracks, not " + std::to_string(number));
}

} // namespace mkdisc
