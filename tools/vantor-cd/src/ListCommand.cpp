// vantor-cd list [PATH]: the tracks of the disc behind a path, as the plug-in lists them.
#include "Commands.h"
#include "Context.h"
#include "DiscAccess.h"
#include "TimeText.h"

#include <cstdio>
#include <iostream>
#include <memory>

namespace vantorcd {
namespace {

std::string trackLine(const OpenedDisc& disc, Vantor::Index track)
{
    const TocTrack& toc = disc.toc.track(track);
    char columns[64];
    std::snprintf(columns, sizeof columns, "%3u  %8s  %-5s  ", track,
                  formatDuration(disc.reader->GetTrackDuration(track)).c_str(), toc.audio ? "audio" : "data");
    return columns + disc.reader->GetTrackPath(track).utf8string();
}

void runList(Context& context, const std::string& pathOption)
{
    const std::string path = pathOption.empty() ? context.demoDisc() : pathOption;
    const OpenedDisc disc = openDisc(context, path);
    std::cout << "disc      " << disc.toc.drive << "\n"
              << "tracks    " << disc.toc.tracks.size() << "\n"
              << "duration  " << formatDuration(disc.reader->GetDiskDuration()) << "\n"
              << "\n"
              << "  #  duration  type   track path\n";
    for (const TocTrack& track : disc.toc.tracks)
        std::cout << trackLine(disc, track.number) << "\n";
}

} // namespace

void addListCommand(CLI::App& app, Context& context)
{
    auto path = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("list", "List the tracks of a disc (the demo disc when no PATH is given)");
    command->add_option("PATH", *path, "a drive, a mounted volume, a CUE sheet or a virtual-drive directory");
    command->callback([&context, path] { runList(context, *path); });
}

} // namespace vantorcd
