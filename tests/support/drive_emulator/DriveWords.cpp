// A drive's description in EMULATED_DRIVES: its behaviour words (README.md, "Drives without
// hardware"), then its disc in mkdisc's track words, laid out as the disc-image writer lays it out.
#include "Drive.h"
#include "TrackWordParser.h"

#include <functional>
#include <sstream>
#include <stdexcept>

namespace driveemulator {

static std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

// False when the word is no behaviour word, and so a track word; std::invalid_argument for a bad one.
bool Drive::parseBehaviour(const std::string& word)
{
    const size_t equals = word.find('=');
    const std::string key = word.substr(0, equals),
                      value = equals == std::string::npos ? "" : word.substr(equals + 1);
    const auto number = [&word](const std::string& text) {
        size_t used = 0;
        try {
            const long parsed = std::stol(text, &used);
            if (used == text.size())
                return parsed;
        } catch (const std::logic_error&) {
        }
        throw std::invalid_argument("bad number in \"" + word + "\"");
    };
    if (equals != std::string::npos && (key == "cmd-us" || key == "sector-us")) {
        for (const std::string& part : split(word, ',')) {
            const size_t at = part.find('=');
            const auto us = static_cast<unsigned>(number(at == std::string::npos ? "" : part.substr(at + 1)));
            if (part.substr(0, at) != "cmd-us" && part.substr(0, at) != "sector-us")
                throw std::invalid_argument("bad speed model in \"" + word + "\"");
            (part.substr(0, at) == "cmd-us" ? commandUs : sectorUs) = us;
        }
        return true;
    }
    const size_t times = value.find('x'), colon = value.find(':'); // LBAxN: the first N reads only
    const auto fault = [&](std::map<uint32_t, int>& faults) {
        faults[static_cast<uint32_t>(number(value.substr(0, times)))] =
            times == std::string::npos ? kEveryRead : static_cast<int>(number(value.substr(times + 1)));
    };
    const std::pair<const char*, std::function<void()>> valued[] = {
        {"delay-us", [&] { delayUs = static_cast<unsigned>(number(value)); }},
        {"max-sectors-kb", [&] { maxSectorsKb = static_cast<unsigned>(number(value)); }},
        {"offset", [&] { readOffset = static_cast<int>(number(value)); }},
        {"unstable", [&] { unstable.insert(static_cast<uint32_t>(number(value))); }},
        {"medium-error", [&] { fault(mediumErrors); }},
        {"reread-error", [&] { fault(rereadErrors); }},
        {"noisy", [&] { fault(noisy); }},
        {"c2-error", [&] { fault(c2Errors); }},
        {"mcn", [&] { mcn = value; }},
        {"cdtext", [&] { cdTextFile = value; }},
        {"counters", [&] { countersFile = value; }},
        {"isrc",
         [&] { isrcs[static_cast<uint8_t>(number(value.substr(0, colon)))] = value.substr(colon + 1); }}};
    for (const auto& [name, flag] : {std::pair{"bcd-toc", &bcdToc},
                                     {"no-full-toc", &noFullToc},
                                     {"older-toc", &olderToc},
                                     {"no-c2", &noC2},
                                     {"no-speed", &noSpeed}})
        if (word == name)
            return *flag = true;
    for (const auto& [name, parse] : valued)
        if (key == name && (key != "isrc" || colon != std::string::npos))
            return parse(), true;
    return false;
}

// Lays the disc out as the disc-image writer does; std::invalid_argument for one no disc can be.
void Drive::layOutDisc()
{
    const mkdisc::DiscLayout layout = mkdisc::layoutOf(disc);
    for (size_t s = 0; s < disc.sessions.size(); ++s) {
        Session session{static_cast<uint8_t>(s + 1), 0, 0, 0x00, layout.sessionLeadOutLba[s]};
        for (const mkdisc::TrackDescription& written : disc.sessions[s].tracks) {
            const mkdisc::TrackLayout& placed = layout.tracks[tracks.size()];
            const int control = (written.mode != TrackMode::Audio ? 0x4 : 0) |
                                (written.digitalCopyPermitted ? 0x2 : 0) | (written.preEmphasis ? 0x1 : 0) |
                                (written.fourChannel ? 0x8 : 0);
            tracks.push_back({placed.number, placed.session, static_cast<uint8_t>(control), written.mode,
                              placed.startLba,
                              written.index2Sectors > 0 ? placed.startLba + written.index2Sectors : 0});
            session.firstTrack = session.firstTrack == 0 ? placed.number : session.firstTrack;
            session.lastTrack = placed.number;
            if (written.mode == TrackMode::Mode2Raw)
                session.type = 0x20;
        }
        sessions.push_back(session);
    }
}

// The track whose pregap or body holds the sector; none in a lead-out or between sessions.
const Track* Drive::trackAt(int64_t lba) const
{
    for (const Session& s : sessions) {
        const int64_t start =
            s.number == 1 ? 0 : sessions[s.number - 2u].leadOutLba + int64_t{mkdisc::kSessionGapFrames};
        if (lba < start || lba >= s.leadOutLba)
            continue;
        const Track* holder = &track(s.firstTrack); // sectors before it are its pregap
        for (const Track& t : tracks)
            holder = t.session == s.number && t.startLba <= lba ? &t : holder;
        return holder;
    }
    return nullptr;
}

std::vector<std::unique_ptr<Drive>> drivesOf(const std::string& list)
{
    std::vector<std::unique_ptr<Drive>> drives;
    for (const std::string& entry : split(list, ';')) {
        const std::vector<std::string> words = split(entry, ' ');
        if (words.empty())
            continue;
        Drive& drive = *drives.emplace_back(std::make_unique<Drive>());
        drive.path = words.front();
        std::vector<std::string> trackWords;
        for (size_t i = 1; i < words.size(); ++i)
            if (!(trackWords.empty() && drive.parseBehaviour(words[i])))
                trackWords.push_back(words[i]);
        if (!trackWords.empty())
            drive.disc.sessions = mkdisc::parseSessionWords(trackWords);
    }
    for (const std::unique_ptr<Drive>& drive : drives)
        if (!drive->disc.sessions.empty())
            drive->layOutDisc();
    return drives;
}

} // namespace driveemulator
