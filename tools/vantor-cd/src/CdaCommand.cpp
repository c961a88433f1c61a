// vantor-cd cda DRIVE DIR: the TrackNN.cda files of the disc's audio tracks, as the original
// platform shows them on a mounted audio CD; a directory with a disc image and these files is a
// virtual drive in which .cda files open.
#include "Commands.h"
#include "Context.h"
#include "DiscAccess.h"
#include "UserError.h"

#include "mkdisc/CdaFile.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace vantorcd {
namespace {

struct CdaOptions
{
    std::string drive;
    std::string directory;
};

constexpr uint32_t kLeadInFrames = 150;

// One file for each audio track, in track order, with the serial number of the disc's audio: the
// lead-out that ends it is that of the session holding the last audio track.
std::vector<mkdisc::CdaTrack> cdaTracksOf(const DiscToc& disc)
{
    std::vector<uint32_t> starts;
    std::vector<mkdisc::CdaTrack> files;
    for (const TocTrack& track : disc.tracks) {
        if (!track.audio)
            continue;
        starts.push_back(track.startLba + kLeadInFrames);
        files.push_back({static_cast<uint16_t>(track.number), 0, track.startLba, track.lengthSectors});
    }
    if (files.empty())
        return files;
    const uint32_t leadOut = disc.sessionLeadOutLba.at(disc.track(files.back().track).session - 1);
    const uint32_t serial = mkdisc::cdaSerialNumber(starts, leadOut + kLeadInFrames);
    for (mkdisc::CdaTrack& file : files)
        file.serial = serial;
    return files;
}

void prepareDirectory(const std::filesystem::path& directory)
{
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        throw UserError("cannot create " + directory.string() + ": " + error.message());
}

void runCda(Context& context, const CdaOptions& options)
{
    const OpenedDisc disc = openDisc(context, options.drive);
    const std::vector<mkdisc::CdaTrack> tracks = cdaTracksOf(disc.toc);
    if (tracks.empty())
        throw UserError("the disc in " + disc.toc.drive + " has no audio tracks");
    prepareDirectory(options.directory);
    for (const mkdisc::CdaTrack& track : tracks) {
        try {
            std::cout << mkdisc::writeCdaFile(options.directory, track).string() << "\n";
        } catch (const std::runtime_error& error) {
            throw UserError(error.what());
        }
    }
}

} // namespace

void addCdaCommand(CLI::App& app, Context& context)
{
    auto options = std::make_shared<CdaOptions>();
    CLI::App* command =
        app.add_subcommand("cda", "Write the TrackNN.cda files of a disc's audio tracks into DIR");
    command
        ->add_option("DRIVE", options->drive,
                     "a drive, a mounted volume, a CUE sheet or a virtual-drive directory")
        ->required();
    command->add_option("DIR", options->directory, "the directory to write into (created if missing)")
        ->required();
    command->callback([&context, options] { runCda(context, *options); });
}

} // namespace vantorcd
