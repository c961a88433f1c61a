// mkdisc: writes a synthetic disc image from a plain description on the command line.
#include "TrackWordParser.h"
#include "mkdisc/DiscWriter.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kBadDescription = 2;
constexpr int kWriteFailed = 1;

const char* const kTrackHelp =
    "KIND:SECTORS[,pregap=N][,silence=N][,index2=N][,flags=dcp+4ch+pre][,byte16=N] with KIND audio, mode1 or "
    "mode2; pregap is stored in the data file (INDEX 00), silence is a generated PREGAP; "
    "index2 puts INDEX 02 N sectors after INDEX 01; "
    "a lone / or --session starts the next session";

struct Options
{
    std::string outDirectory;
    bool wave = false;
    bool noCda = false;
    std::vector<std::string> trackWords;
};

// CLI11 keeps options and positionals apart, so the session separator becomes a positional word.
std::vector<const char*> withSessionWords(int argc, char** argv)
{
    std::vector<const char*> args(argv, argv + argc);
    for (const char*& arg : args) {
        if (std::string(arg) == "--session")
            arg = "/";
    }
    return args;
}

void report(const mkdisc::WrittenDisc& written, const mkdisc::DiscDescription& description)
{
    size_t tracks = 0;
    for (const mkdisc::SessionDescription& session : description.sessions)
        tracks += session.tracks.size();
    char serial[16];
    std::snprintf(serial, sizeof serial, "%08X", written.serial);
    std::cout << "cue sheet: " << written.cueSheet.string() << "\n"
              << "tracks: " << tracks << " in " << description.sessions.size() << " session(s)\n"
              << "data files: " << written.dataFiles.size() << ", cda files: " << written.cdaFiles.size()
              << "\n"
              << "serial: " << serial << "\n";
}

int writeFromDescription(mkdisc::DiscDescription& description, const Options& options)
{
    try {
        description.sessions = mkdisc::parseSessionWords(options.trackWords);
        description.format = options.wave ? mkdisc::DataFileFormat::Wave : mkdisc::DataFileFormat::Binary;
        description.writeCdaFiles = !options.noCda;
        report(mkdisc::writeDisc(description, options.outDirectory), description);
        return 0;
    } catch (const std::invalid_argument& error) {
        std::cerr << "mkdisc: " << error.what() << "\n";
        return kBadDescription;
    } catch (const std::runtime_error& error) {
        std::cerr << "mkdisc: " << error.what() << "\n";
        return kWriteFailed;
    }
}

int run(int argc, char** argv)
{
    CLI::App app{"Writes a synthetic CD image: CUE sheet, data files and TrackNN.cda files.", "mkdisc"};
    Options options;
    mkdisc::DiscDescription description;
    app.add_option("--out", options.outDirectory, "directory to write into (created if missing)")->required();
    app.add_option("--name", description.name, "base name of the CUE sheet and data files")
        ->capture_default_str();
    app.add_flag("--wave", options.wave, "WAVE data files instead of raw BINARY (audio discs only)");
    app.add_flag("--file-per-track", description.filePerTrack, "one data file per track");
    app.add_flag("--no-cda", options.noCda, "write no TrackNN.cda files");
    app.add_option("tracks", options.trackWords, kTrackHelp)->required();

    const std::vector<const char*> args = withSessionWords(argc, argv);
    try {
        app.parse(static_cast<int>(args.size()), args.data());
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        std::cerr << "mkdisc: " << error.what() << " (see --help)\n";
        return kBadDescription;
    }
    return writeFromDescription(description, options);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "mkdisc: " << error.what() << "\n";
        return kWriteFailed;
    }
}
