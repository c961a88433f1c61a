// vantor-cd list [PATH] [--json]: the tracks of the disc behind a path, as the plug-in lists them,
// with what names the disc: its IDs, catalogue number, ISRCs, pregaps and CD-Text.
#include "AccurateRipId.h"
#include "Commands.h"
#include "Context.h"
#include "DiscAccess.h"
#include "DiscJson.h"
#include "TimeText.h"

#include <discgeometry/DiscGeometry.h>

#include <cstdio>
#include <iostream>
#include <memory>

namespace vantorcd {
namespace {

struct ListOptions
{
    std::string path;
    bool json = false;
};

// mm:ss:ff, the CD's own notation for lengths in sectors.
std::string msfText(uint32_t sectors)
{
    const discgeometry::Msf msf = discgeometry::toMsf(sectors);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", msf.minutes, msf.seconds, msf.frames);
    return text;
}

void printKey(const char* key, const std::string& value)
{
    if (!value.empty())
        std::printf("%-13s%s\n", key, value.c_str());
}

std::string quotedNames(const CdTextNames& names)
{
    std::string text;
    if (!names.title.empty())
        text += "\"" + names.title + "\"";
    if (!names.performer.empty())
        text += (text.empty() ? "by " : " by ") + names.performer;
    return text;
}

void printTrack(const OpenedDisc& disc, const TocTrack& track)
{
    std::printf("%3u  %8s  %8s  %-5s  %-12s  %s\n", track.number,
                formatDuration(disc.reader->GetTrackDuration(track.number)).c_str(),
                track.pregapSectors ? msfText(*track.pregapSectors).c_str() : "",
                track.audio ? "audio" : "data", track.isrc.c_str(),
                disc.reader->GetTrackPath(track.number).utf8string().c_str());
    const std::string names = quotedNames(track.cdText);
    if (!names.empty())
        std::printf("%49s%s\n", "", names.c_str());
}

void printDisc(const OpenedDisc& disc)
{
    const DiscIdentity& identity = disc.toc.identity;
    char freedb[9];
    std::snprintf(freedb, sizeof freedb, "%08x", identity.freedbId);
    const AccurateRipId accurateRip = accurateRipIdOf(disc.toc, identity.freedbId);
    printKey("disc", disc.toc.drive);
    printKey("tracks", std::to_string(disc.toc.tracks.size()));
    printKey("duration", formatDuration(disc.reader->GetDiskDuration()));
    printKey("musicbrainz", identity.musicbrainzId);
    printKey("freedb", freedb);
    printKey("accuraterip", accurateRip.fileName());
    printKey("mcn", identity.mcn);
    printKey("title", identity.cdText.title);
    printKey("performer", identity.cdText.performer);
    std::printf("\n  #  duration    pregap  type   isrc          track path\n");
    for (const TocTrack& track : disc.toc.tracks)
        printTrack(disc, track);
}

void runList(Context& context, const ListOptions& options)
{
    const std::string path = options.path.empty() ? context.demoDisc() : options.path;
    const OpenedDisc disc = openDisc(context, path, DiscDetail::Identity);
    if (options.json)
        std::cout << discJson(disc).dump(2) << "\n";
    else
        printDisc(disc);
}

} // namespace

void addListCommand(CLI::App& app, Context& context)
{
    auto options = std::make_shared<ListOptions>();
    CLI::App* command =
        app.add_subcommand("list", "List the tracks of a disc (the demo disc when no PATH is given)");
    command->add_option("PATH", options->path,
                        "a drive, a mounted volume, a CUE sheet or a virtual-drive directory");
    command->add_flag("--json", options->json, "print the disc as JSON");
    command->callback([&context, options] { runList(context, *options); });
}

} // namespace vantorcd
