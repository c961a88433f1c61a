#include "TrackWordParser.h"

#include <limits>
#include <sstream>
#include <stdexcept>

namespace mkdisc {
namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    if (text.empty() || text.back() == separator)
        parts.emplace_back();
    return parts;
}

uint32_t parseCount(const std::string& text, uint32_t maximum, const char* what)
{
    const bool digitsOnly =
        !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string::npos;
    if (!digitsOnly || std::stoull(text) > maximum)
        throw std::invalid_argument(std::string(what) + " \"" + text + "\" is not a number from 0 to " +
                                    std::to_string(maximum));
    return static_cast<uint32_t>(std::stoull(text));
}

TrackMode parseMode(const std::string& kind)
{
    if (kind == "audio")
        return TrackMode::Audio;
    if (kind == "mode1")
        return TrackMode::Mode1Raw;
    if (kind == "mode2")
        return TrackMode::Mode2Raw;
    throw std::invalid_argument("unknown track kind \"" + kind + "\" (audio, mode1 or mode2)");
}

void parseFlags(const std::string& flags, TrackDescription& track)
{
    for (const std::string& flag : split(flags, '+')) {
        if (flag == "dcp")
            track.digitalCopyPermitted = true;
        else if (flag == "4ch")
            track.fourChannel = true;
        else if (flag == "pre")
            track.preEmphasis = true;
        else
            throw std::invalid_argument("unknown flag \"" + flag + "\" (dcp, 4ch or pre)");
    }
}

void parseOption(const std::string& option, TrackDescription& track)
{
    constexpr uint32_t kAnyCount = std::numeric_limits<uint32_t>::max();
    const size_t equals = option.find('=');
    const std::string key = option.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : option.substr(equals + 1);
    if (key == "pregap")
        track.storedPregapSectors = parseCount(value, kAnyCount, "pregap");
    else if (key == "silence")
        track.silentPregapSectors = parseCount(value, kAnyCount, "silence");
    else if (key == "index2")
        track.index2Sectors = parseCount(value, kAnyCount, "index2");
    else if (key == "byte16")
        track.dataModeByte = static_cast<uint8_t>(parseCount(value, 255, "byte16"));
    else if (key == "flags")
        parseFlags(value, track);
    else
        throw std::invalid_argument("unknown option \"" + key +
                                    "\" (pregap, silence, index2, flags or byte16)");
}

TrackDescription parseTrackParts(const std::string& word)
{
    const size_t colon = word.find(':');
    if (colon == std::string::npos)
        throw std::invalid_argument("expected KIND:SECTORS");
    TrackDescription track;
    track.mode = parseMode(word.substr(0, colon));
    const std::vector<std::string> parts = split(word.substr(colon + 1), ',');
    track.sectors = parseCount(parts.front(), std::numeric_limits<uint32_t>::max(), "sector count");
    for (size_t i = 1; i < parts.size(); ++i)
        parseOption(parts[i], track);
    return track;
}

} // namespace

TrackDescription parseTrackWord(const std::string& word)
{
    try {
        return parseTrackParts(word);
    } catch (const std::invalid_argument& error) {
        throw std::invalid_argument("bad track \"" + word + "\": " + error.what());
    }
}

std::vector<SessionDescription> parseSessionWords(const std::vector<std::string>& words)
{
    std::vector<SessionDescription> sessions(1);
    for (const std::string& word : words) {
        if (word != "/")
            sessions.back().tracks.push_back(parseTrackWord(word));
        else if (sessions.back().tracks.empty())
            throw std::invalid_argument("session " + std::to_string(sessions.size()) + " has no tracks");
        else
            sessions.emplace_back();
    }
    if (sessions.back().tracks.empty())
        throw std::invalid_argument("session " + std::to_string(sessions.size()) + " has no tracks");
    return sessions;
}

} // namespace mkdisc
