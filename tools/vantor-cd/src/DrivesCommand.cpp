// vantor-cd drives: every drive, whether it holds an audio disc, and how many tracks.
#include "Commands.h"
#include "Context.h"
#include "CueifyDisc.h"
#include "ErrorText.h"
#include "UserError.h"

#include "Vantor/Proc/Parsers/ParserCD/TrackSource/DriveSearch.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <optional>

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

// What a drive holds: its disc's table of contents, or why there is none.
struct DriveState
{
    std::string drive;
    std::optional<DiscToc> disc;
    std::string reason;
};

DriveState stateOf(const std::string& drive)
{
    try {
        return {drive, readDiscToc(drive), ""};
    } catch (const UserError&) {
        return {drive, std::nullopt, discAccessReason()};
    }
}

std::string describeDrive(const DriveState& state)
{
    if (state.disc)
        return describeDisc(*state.disc);
    return state.reason.empty() ? "no disc" : "no disc (" + state.reason + ")";
}

nlohmann::ordered_json driveJson(const DriveState& state)
{
    nlohmann::ordered_json disc = nullptr;
    if (state.disc) {
        const unsigned audio = state.disc->audioTrackCount();
        disc = {{"type", audio ? "audio" : "data"},
                {"tracks", state.disc->tracks.size()},
                {"audio_tracks", audio},
                {"data_tracks", state.disc->tracks.size() - audio}};
    }
    return {{"drive", state.drive},
            {"disc", disc},
            {"reason",
             state.reason.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(state.reason)}};
}

std::vector<std::string> listDrives()
{
    const Vantor::Proc::ListedDrives listed;
    std::vector<std::string> drives;
    for (size_t i = 0; i < listed.size(); ++i) {
        if (listed[i])
            drives.emplace_back(listed[i]);
    }
    return drives;
}

void runDrives(bool json)
{
    const std::vector<std::string> drives = listDrives();
    if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const std::string& drive : drives)
            list.push_back(driveJson(stateOf(drive)));
        std::cout << list.dump(2) << "\n";
        return;
    }
    if (drives.empty()) {
        std::cout << "No drives found. A directory named in CUEIFY_VIRTUAL_DRIVES that holds a disc image "
                     "counts as a drive.\n";
        return;
    }
    for (const std::string& drive : drives)
        std::cout << drive << ": " << describeDrive(stateOf(drive)) << "\n";
}

} // namespace

void addDrivesCommand(CLI::App& app, Context&)
{
    auto json = std::make_shared<bool>(false);
    CLI::App* command =
        app.add_subcommand("drives", "List the drives (and virtual drives) and the discs they hold");
    command->add_flag("--json", *json, "print the drives as JSON");
    command->callback([json] { runDrives(*json); });
}

} // namespace vantorcd
