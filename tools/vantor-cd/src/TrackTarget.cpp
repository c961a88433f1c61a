#include "TrackTarget.h"

#include "ErrorText.h"
#include "UserError.h"

#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/Parsers/ParserCD/TrackSource/CDAFile.h"
#include "Vantor/Proc/Parsers/ParserCD/TrackSource/DriveSearch.h"
#include "Vantor/Proc/Parsers/ParserCD/TrackSource/TrackPath.h"

#include <filesystem>
#include <stdexcept>

namespace vantorcd {
namespace {

using Vantor::ioPath;

UserError notATrackPath(const std::string& text)
{
    return UserError(text + " is not a track path (expected " + Vantor::Proc::ICDReader::CD_PATH_PREFIX +
                     "DRIVE" + Vantor::Proc::ICDReader::CD_TRACK_PREFIX + "N.cda)");
}

// The plug-in reads the number as std::stoi does, whose errors it passes on.
std::optional<Vantor::Proc::TrackLocation> readBack(const std::string& text)
{
    try {
        return Vantor::Proc::ReadTrackPath(ioPath(text));
    } catch (const std::logic_error&) {
        return std::nullopt;
    }
}

Vantor::Proc::CDAFile readCdaFile(const std::string& path)
{
    try {
        return Vantor::Proc::CDAFile(ioPath(path));
    } catch (const Vantor::Exception& error) {
        throw UserError("cannot open " + path + ": " + describeFailure(error));
    }
}

std::string findDriveHolding(uint32_t serial, const std::string& cdaFile)
{
    std::optional<std::string> drive;
    try {
        drive = Vantor::Proc::FindDriveWithSerial(serial);
    } catch (const Vantor::Exception& error) {
        throw UserError("cannot look for the disc of " + cdaFile + ": " + describeFailure(error));
    }
    if (!drive)
        throw UserError("no drive holds the disc of " + cdaFile +
                        " (a disc image counts as a drive when its directory is named in "
                        "CUEIFY_VIRTUAL_DRIVES and holds the disc's .cda files)");
    return *drive;
}

TrackTarget trackFileTarget(const std::string& argument)
{
    const Vantor::Proc::CDAFile file = readCdaFile(argument);
    if (!Vantor::Proc::IsValidCDAFile(file))
        throw UserError(argument + " is not a CD track file (.cda)");
    TrackTarget target;
    target.argument = argument;
    target.trackFile = true;
    target.drive = findDriveHolding(file.serial, argument);
    target.track = Vantor::Proc::DiscTrackNumber(file.track);
    target.formatName = Vantor::Proc::FormatNameOf(ioPath(argument));
    return target;
}

UserError notATrack(const std::string& argument)
{
    std::error_code error;
    const std::filesystem::path path(argument);
    if (!std::filesystem::exists(path, error))
        return UserError(argument + ": no such file or directory");
    if (std::filesystem::is_directory(path, error) || Vantor::Proc::FormatNameOf(ioPath(argument)) == "cue")
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
        return Vantor::Core::DataInputFile::Create(ioPath(argument));
    return Vantor::Core::DataInputPath::Create(ioPath(argument));
}

std::optional<TrackTarget> parseTrackPath(const std::string& text)
{
    if (!Vantor::Proc::IsTrackPath(text))
        return std::nullopt;
    const std::optional<Vantor::Proc::TrackLocation> location = readBack(text);
    // The plug-in cannot open an empty drive path either.
    if (!location || location->drive.empty())
        throw notATrackPath(text);
    TrackTarget target;
    target.argument = text;
    target.drive = location->drive;
    target.track = Vantor::Proc::DiscTrackNumber(location->track);
    target.formatName = Vantor::Proc::FormatNameOf(ioPath(text));
    return target;
}

TrackTarget resolveTrack(const std::string& argument)
{
    if (std::optional<TrackTarget> target = parseTrackPath(argument))
        return *target;
    if (Vantor::Proc::IsCDFormat(Vantor::Proc::FormatNameOf(ioPath(argument)))) {
        std::error_code error;
        if (!std::filesystem::exists(argument, error))
            throw UserError(argument + ": no such file");
        return trackFileTarget(argument);
    }
    throw notATrack(argument);
}

} // namespace vantorcd
