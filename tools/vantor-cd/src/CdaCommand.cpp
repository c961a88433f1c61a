// vantor-cd cda DRIVE DIR: the TrackNN.cda files of the disc's audio tracks, as the original
// platform shows them on a mounted audio CD; a directory with a disc image and these files is a
// virtual drive in which .cda files open.
#include "Commands.h"
#include "Context.h"
#include "DiscAccess.h"
#include "DiscSerial.h"
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
