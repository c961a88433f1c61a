#include "DiscAccess.h"

#include "ErrorText.h"
#include "UserError.h"

#include "Vantor/Proc/Parsers/ParserCD/TrackSource/TrackPath.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vantorcd {
namespace {

Vantor::SP<Vantor::Proc::ICDReader> openReader(Context& context, const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        throw UserError(path + ": no such file or directory");
    const Host& host = context.host();
    try {
        return host.openDisc(Vantor::ioPath(path));
    } catch (const std::exception& failure) {
        // The disc-access library's reason says more than the plug-in's "cannot open" text.
        const std::string reason = discAccessReason();
        throw UserError(path + " holds no disc: " + (reason.empty() ? describeFailure(failure) : reason));
    }
}

// The drive the plug-in resolved the path to, as its track paths name it. Every track number up to
// the count has a path, whether the disc starts at track 1 or later.
std::string driveOf(const Vantor::Proc::ICDReader& reader, const std::string& path)
{
    const unsigned last = reader.GetTrackCount();
    if (last == 0)
        return path;
    const std::string trackPath = reader.GetTrackPath(last).utf8string();
    std::optional<TrackTarget> target;
    try {
        target = parseTrackPath(trackPath);
    } catch (const UserError&) {
    }
    // A track path is read back at its first "#track": one inside the drive's name names another
    // drive, whose track path this is not.
    if (!target || Vantor::Proc::MakeTrackPath(Vantor::ioPath(target->drive), last).utf8string() != trackPath)
        throw UserError("cannot use the disc in " + path + ": its path holds \"" +
                        Vantor::Proc::ICDReader::CD_TRACK_PREFIX +
                        "\", which marks the track number in track paths; rename the folder");
    return target->drive;
}

Vantor::SP<Vantor::Proc::IParser> openParser(Context& context, const TrackTarget& target)
{
    const Host& host = context.host();
    try {
        return host.openTrack(target.makeInput(), target.formatName);
    } catch (const UserError&) {
        throw;
    } catch (const std::exception& failure) {
        throw UserError("cannot open " + target.argument + ": " + describeFailure(failure));
    }
}

} // namespace

OpenedDisc openDisc(Context& context, const std::string& path, DiscDetail detail)
{
    OpenedDisc disc;
    disc.reader = openReader(context, path);
    disc.handle = std::make_shared<const DriveHandle>(driveOf(*disc.reader, path));
    disc.toc = readDiscToc(*disc.handle, detail);
    return disc;
}

OpenedTrack openAudioTrack(Context& context, const std::string& argument, DiscDetail detail)
{
    OpenedTrack track;
    track.target = resolveTrack(argument);
    track.handle = std::make_shared<const DriveHandle>(track.target.drive);
    track.toc = readDiscToc(*track.handle, detail).track(track.target.track);
    if (!track.toc.audio)
        throw UserError("track " + std::to_string(track.toc.number) + " of " + track.target.drive +
                        " is a data track, not audio");
    track.parser = openParser(context, track.target);
    return track;
}

Vantor::SP<Vantor::Proc::IParser> openTrackParser(Context& context, const OpenedDisc& disc, unsigned track)
{
    const std::string path = disc.reader->GetTrackPath(track).utf8string();
    const std::optional<TrackTarget> target = parseTrackPath(path);
    if (!target)
        throw UserError("the CD plug-in names track " + std::to_string(track) + " " + path +
                        ", which is no track path");
    return openParser(context, *target);
}

bool isDiscImage(const std::string& drive)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(drive, error))
        return true;
    // A folder without a CUE sheet stands for a physical drive, as a mounted disc's volume does.
    for (std::filesystem::directory_iterator entry(drive, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string extension = entry->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension == ".cue")
            return true;
    }
    return false;
}

std::string demoTrack(Context& context)
{
    const OpenedDisc demo = openDisc(context, context.demoDisc());
    return demo.reader->GetTrackPath(demo.toc.tracks.front().number).utf8string();
}

} // namespace vantorcd
