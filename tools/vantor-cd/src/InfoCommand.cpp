// vantor-cd info [TRACK]: the container and stream descriptions the plug-in gives for a track.
#include "Commands.h"
#include "Context.h"
#include "DiscAccess.h"
#include "PropertyPrinter.h"
#include "TimeText.h"

#include <iostream>
#include <memory>

namespace vantorcd {
namespace {

const char* mediaTypeName(Vantor::MediaType type)
{
    switch (type) {
    case Vantor::MEDIA_TYPE_AUDIO:
        return "audio";
    case Vantor::MEDIA_TYPE_VIDEO:
        return "video";
    case Vantor::MEDIA_TYPE_SUBTITLE:
        return "subtitle";
    case Vantor::MEDIA_TYPE_DATA:
        return "data";
    default:
        return "unknown";
    }
}

void printStreams(const Vantor::Proc::IParser& parser)
{
    for (Vantor::Index stream = 0; stream < parser.GetStreamCount(); ++stream) {
        std::cout << "\nstream " << stream << " (" << mediaTypeName(parser.GetStreamType(stream)) << ")\n";
        const auto codec = parser.GetStreamExtInfo(stream);
        if (!codec)
            continue;
        printPropertyChildren(std::cout, codec->GetProperty(), 2);
        const Vantor::Core::Property settings = codec->GetStreamSettings();
        if (!settings.GetChildren().empty()) {
            std::cout << "  settings\n";
            printPropertyChildren(std::cout, settings, 4);
        }
    }
}

void runInfo(Context& context, const std::string& trackOption)
{
    const std::string argument = trackOption.empty() ? demoTrack(context) : trackOption;
    const OpenedTrack track = openAudioTrack(context, argument);
    const Vantor::Proc::IParser& parser = *track.parser;
    std::cout << "track     " << argument << "\n"
              << "number    " << track.toc.number << "\n"
              << "drive     " << track.target.drive << "\n"
              << "duration  " << formatDuration(parser.GetDuration()) << " (" << track.toc.lengthSectors
              << " sectors)\n"
              << "size      " << parser.GetSize() << " bytes\n"
              << "\ncontainer\n";
    if (const auto container = parser.GetFormatFile())
        printPropertyChildren(std::cout, container->GetProperty(), 2);
    printStreams(parser);
}

} // namespace

void addInfoCommand(CLI::App& app, Context& context)
{
    auto track = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("info", "Describe a track's container and stream (the demo's track 1 by default)");
    command->add_option("TRACK", *track, "a track path (cdda://DRIVE#trackN.cda) or a .cda file");
    command->callback([&context, track] { runInfo(context, *track); });
}

} // namespace vantorcd
