#include "DriveConfig.h"

#include "TrackWordParser.h"

#include <sstream>
#include <stdexcept>

namespace driveemulator {
namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

long number(const std::string& text, const std::string& word)
{
    size_t used = 0;
    try {
        long value = std::stol(text, &used);
        if (used == text.size())
            return value;
    } catch (const std::logic_error&) {
    }
    throw std::invalid_argument("bad number in \"" + word + "\"");
}

// LBA, or LBAxN for the first N reads only.
void parseSectorFault(const std::string& value, const std::string& word, std::map<uint32_t, int>& faults)
{
    const size_t times = value.find('x');
    const uint32_t lba = static_cast<uint32_t>(number(value.substr(0, times), word));
    faults[lba] =
        times == std::string::npos ? kEveryRead : static_cast<int>(number(value.substr(times + 1), word));
}

bool parseSpeedModel(const std::string& word, DriveConfig& drive)
{
    if (word.rfind("cmd-us=", 0) != 0 && word.rfind("sector-us=", 0) != 0)
        return false;
    for (const std::string& part : split(word, ',')) {
        const size_t equals = part.find('=');
        const std::string key = part.substr(0, equals);
        const unsigned value =
            static_cast<unsigned>(number(equals == std::string::npos ? "" : part.substr(equals + 1), word));
        if (key == "cmd-us")
            drive.commandMicroseconds = value;
        else if (key == "sector-us")
            drive.modelSectorMicroseconds = value;
        else
            throw std::invalid_argument("bad speed model in \"" + word + "\"");
    }
    return true;
}

// False when the word is no behaviour word, and so a track word.
bool parseBehaviour(const std::string& word, DriveConfig& drive)
{
    if (parseSpeedModel(word, drive))
        return true;
    const size_t equals = word.find('=');
    const std::string key = word.substr(0, equals),
                      value = equals == std::string::npos ? "" : word.substr(equals + 1);
    if (key == "ready-after")
        drive.readyAfter = static_cast<unsigned>(number(value, word));
    else if (key == "medium-error")
        parseSectorFault(value, word, drive.mediumErrors);
    else if (key == "c2-error")
        parseSectorFault(value, word, drive.c2Errors);
    else if (key == "unstable")
        drive.unstableSectors.insert(static_cast<uint32_t>(number(value, word)));
    else if (key == "noisy")
        parseSectorFault(value, word, drive.noisySectors);
    else if (word == "bcd-toc")
        drive.bcdFullToc = true;
    else if (word == "no-full-toc")
        drive.refusesFullToc = true;
    else if (word == "older-toc")
        drive.knowsOnlyOlderTocFormats = true;
    else if (word == "no-c2")
        drive.offersC2Pointers = false;
    else if (key == "offset")
        drive.readOffsetSamples = static_cast<int>(number(value, word));
    else if (key == "delay-us")
        drive.delayPerSectorMicroseconds = static_cast<unsigned>(number(value, word));
    else if (key == "mcn")
        drive.mcn = value;
    else if (key == "isrc" && value.find(':') != std::string::npos)
        drive.isrcs[static_cast<uint8_t>(number(value.substr(0, value.find(':')), word))] =
            value.substr(value.find(':') + 1);
    else if (key == "cdtext")
        drive.cdTextFile = value;
    else if (word == "no-speed")
        drive.refusesSetSpeed = true;
    else if (key == "counters")
        drive.countersFile = value;
    else if (key == "max-sectors-kb")
        drive.maxSectorsKb = static_cast<unsigned>(number(value, word));
    else
        return false;
    return true;
}

DriveConfig parseDrive(const std::string& text)
{
    const std::vector<std::string> words = split(text, ' ');
    DriveConfig drive;
    drive.path = words.front();
    std::vector<std::string> trackWords;
    for (size_t i = 1; i < words.size(); ++i)
        if (!(trackWords.empty() && parseBehaviour(words[i], drive)))
            trackWords.push_back(words[i]);
    if (!trackWords.empty()) {
        drive.disc = mkdisc::DiscDescription{};
        drive.disc->sessions = mkdisc::parseSessionWords(trackWords);
    }
    return drive;
}

} // namespace

std::vector<DriveConfig> parseDriveList(const std::string& text)
{
    std::vector<DriveConfig> drives;
    for (const std::string& entry : split(text, ';'))
        if (entry.find_first_not_of(' ') != std::string::npos)
            drives.push_back(parseDrive(entry));
    return drives;
}

} // namespace driveemulator
