// vantor-cd info [TRACK]: the container and stream descriptions the plug-in gives for a track.
#include "Commands.h"
#include "Context.h"
#include "DiscAccess.h"
#include "DiscJson.h"
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

struct InfoOptions
{
    std::string track;
    bool json = false;
};

void printLine(const char* key, const std::string& value)
{
    if (!value.empty())
        std::cout << key << std::string(10 - std::char_traits<char>::length(key), ' ') << value << "\n";
}

void printInfo(const std::string& argument, const OpenedTrack& track)
{
    const Vantor::Proc::IParser& parser = *track.parser;
    printLine("track", argument);
    printLine("number", std::to_string(track.toc.number));
    printLine("drive", track.target.drive);
    printLine("duration", formatDuration(parser.GetDuration()) + " (" +
                              std::to_string(track.toc.lengthSectors) + " sectors)");
    printLine("size", std::to_string(parser.GetSize()) + " bytes");
    printLine("isrc", track.toc.isrc);
    printLine("title", track.toc.cdText.title);
    printLine("performer", track.toc.cdText.performer);
    std::cout << "\ncontainer\n";
    if (const auto container = parser.GetFormatFile())
        printPropertyChildren(std::cout, container->GetProperty(), 2);
    printStreams(parser);
}

nlohmann::ordered_json infoJson(const std::string& argument, const OpenedTrack& track)
{
    const Vantor::Proc::IParser& parser = *track.parser;
    nlohmann::ordered_json info = trackJson(track.toc);
    info["track"] = argument;
    info["drive"] = track.target.drive;
    info["duration_us"] = parser.GetDuration();
    info["size"] = parser.GetSize();
    const auto container = parser.GetFormatFile();
    info["container"] = container ? propertyJson(container->GetProperty()) : nlohmann::ordered_json(nullptr);
    nlohmann::ordered_json streams = nlohmann::ordered_json::array();
    for (Vantor::Index stream = 0; stream < parser.GetStreamCount(); ++stream) {
        const auto codec = parser.GetStreamExtInfo(stream);
        streams.push_back(
            {{"type", mediaTypeName(parser.GetStreamType(stream))},
             {"codec", codec ? propertyJson(codec->GetProperty()) : nlohmann::ordered_json(nullptr)},
             {"settings",
              codec ? propertyJson(codec->GetStreamSettings()) : nlohmann::ordered_json(nullptr)}});
    }
    info["streams"] = streams;
    return info;
}

void runInfo(Context& context, const InfoOptions& options)
{
    const std::string argument = options.track.empty() ? demoTrack(context) : options.track;
    const OpenedTrack track = openAudioTrack(context, argument, DiscDetail::Identity);
    if (options.json)
        std::cout << infoJson(argument, track).dump(2) << "\n";
    else
        printInfo(argument, track);
}

} // namespace

void addInfoCommand(CLI::App& app, Context& context)
{
    auto options = std::make_shared<InfoOptions>();
    CLI::App* command =
        app.add_subcommand("info", "Describe a track's container and stream (the demo's track 1 by default)");
    command->add_option("TRACK", options->track, "a track path (cdda://DRIVE#trackN.cda) or a .cda file");
    command->add_flag("--json", options->json, "print the description as JSON");
    command->callback([&context, options] { runInfo(context, *options); });
}

} // namespace vantorcd
