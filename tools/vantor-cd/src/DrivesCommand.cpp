// vantor-cd drives: every drive, whether it holds an audio disc, and how many tracks.
#include "Commands.h"
#include "Context.h"
#include "CueifyDisc.h"
#include "DriveList.h"
#include "ErrorText.h"
#include "UserError.h"

#include <iostream>

namespace vantorcd {
namespace {

std::string plural(size_t count, const char* word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

std::string describeDisc(const DiscToc& disc)
{
    const size_t audio = disc.audioTrackCount();
    const size_t data = disc.tracks.size() - audio;
    std::string text = audio ? "audio disc, " : "data disc, ";
    text += plural(disc.tracks.size(), "track");
    if (audio && data)
        text += " (" + std::to_string(audio) + " audio, " + std::to_string(data) + " data)";
    return text;
}

std::string describeDrive(const std::string& drive)
{
    try {
        return describeDisc(readDiscToc(drive));
    } catch (const UserError&) {
        const std::string reason = discAccessReason();
        return reason.empty() ? "no disc" : "no disc (" + reason + ")";
    }
}

void runDrives()
{
    const std::vector<std::string> drives = listDrives();
    if (drives.empty()) {
        std::cout << "No drives found. A directory named in CUEIFY_VIRTUAL_DRIVES that holds a disc image "
                     "counts as a drive.\n";
        return;
    }
    for (const std::string& drive : drives)
        std::cout << drive << ": " << describeDrive(drive) << "\n";
}

} // namespace

void addDrivesCommand(CLI::App& app, Context&)
{
    CLI::App* command =
        app.add_subcommand("drives", "List the drives (and virtual drives) and the discs they hold");
    command->callback(runDrives);
}

} // namespace vantorcd
