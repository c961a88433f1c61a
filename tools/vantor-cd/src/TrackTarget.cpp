#include "TrackTarget.h"

#include "CdaFileInfo.h"
#include "CueifyDisc.h"
#include "DiscSerial.h"
#include "DriveList.h"
#include "UserError.h"

#include "Vantor/Proc/ICDReader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vantorcd {
namespace {

constexpr unsigned kLastTrackNumber = 99;

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string formatNameOf(const std::filesystem::path& path)
{
    const std::string extension = path.extension().string();
    return extension.empty() ? std::string() : lowerCase(extension.substr(1));
}

UserError notATrackPath(const std::string& text)
{
    return UserError(text + " is not a track path (expected " + Vantor::Proc::ICDReader::CD_PATH_PREFIX +
                     "DRIVE" + Vantor::Proc::ICDReader::CD_TRACK_PREFIX + "N.cda)");
}

unsigned trackNumberOf(const std::string& digits, const std::string& text)
{
    const bool valid =
        !digits.empty() && digits.size() <= 2 && digits.find_first_not_of("0123456789") == std::string::npos;
    if (!valid || std::stoul(digits) == 0 || std::stoul(digits) > kLastTrackNumber)
        throw notATrackPath(text);
    return static_cast<unsigned>(std::stoul(digits));
}

std::string findDriveHolding(uint32_t serial, const std::string& cdaFile)
{
    for (const std::string& drive : listDrives()) {
        try {
            if (cdaSerialOf(readDiscToc(drive)) == serial)
                return drive;
        } catch (const UserError&) {
            // An empty or unreadable drive holds no disc at all.
        }
    }
    throw UserError("no drive holds the disc of " + cdaFile +
                    " (a disc image counts as a drive when its directory is named in CUEIFY_VIRTUAL_DRIVES)");
}

TrackTarget trackFileTarget(const std::string& argument)
{
    const CdaFileInfo info = readCdaFile(argument);
    TrackTarget target;
    target.argument = argument;
    target.trackFile = true;
    target.drive = findDriveHolding(info.serial, argument);
    target.track = info.track;
    target.formatName = formatNameOf(argument);
    return target;
}

UserError notATrack(const std::string& argument)
{
    std::error_code error;
    const std::filesystem::path path(argument);
    if (!std::filesystem::exists(path, error))
        return UserError(argument + ": no such file or directory");
    if (std::filesystem::is_directory(path, error) || formatNameOf(path) == "cue")
        return UserError(argument +
                         " is a disc, not a track: name one of the track paths that "
                         "'vantor-cd list " +
                         argument + "' shows");
    return UserError(argument + " is not a track: give a track path (" +
                     Vantor::Proc::ICDReader::CD_PATH_PREFIX + "DRIVE" +
                     Vantor::Proc::ICDReader::CD_TRACK_PREFIX + "N.cda) or a .cda file");
}

} // namespace

Vantor::SP<Vantor::Core::IDataInput> TrackTarget::makeInput() const
{
    if (trackFile)
        return Vantor::Core::DataInputFile::Create(Vantor::ioPath(argument));
    return Vantor::Core::DataInputPath::Create(Vantor::ioPath(argument));
}

std::optional<TrackTarget> parseTrackPath(const std::string& text)
{
    const std::string& pathPrefix = Vantor::Proc::ICDReader::CD_PATH_PREFIX;
    const std::string& trackPrefix = Vantor::Proc::ICDReader::CD_TRACK_PREFIX;
    if (text.compare(0, pathPrefix.size(), pathPrefix) != 0)
        return std::nullopt;
    const std::string extension = ".cda";
    const size_t trackStart = text.find(trackPrefix, pathPrefix.size());
    const bool endsInExtension = text.size() >= extension.size() &&
                                 lowerCase(text.substr(text.size() - extension.size())) == extension;
    if (trackStart == std::string::npos || !endsInExtension ||
        trackStart + trackPrefix.size() > text.size() - extension.size())
        throw notATrackPath(text);
    TrackTarget target;
    target.argument = text;
    target.drive = text.substr(pathPrefix.size(), trackStart - pathPrefix.size());
    const size_t numberStart = trackStart + trackPrefix.size();
    target.track =
        trackNumberOf(text.substr(numberStart, text.size() - extension.size() - numberStart), text);
    target.formatName = "cda";
    if (target.drive.empty())
        throw notATrackPath(text);
    return target;
}

TrackTarget resolveTrack(const std::string& argument)
{
    if (std::optional<TrackTarget> target = parseTrackPath(argument))
        return *target;
    if (formatNameOf(argument) == "cda") {
        if (!std::filesystem::exists(argument))
            throw UserError(argument + ": no such file");
        return trackFileTarget(argument);
    }
    throw notATrack(argument);
}

} // namespace vantorcd
