// vantor-cd rip [TRACK] [-o FILE] [--from TIME] [--to TIME]: a track (or part of it) into a WAV,
// FLAC or AIFF file, written whole or not at all.
#include "AtomicOutputFile.h"
#include "AudioFileWriter.h"
#include "Commands.h"
#include "Interruption.h"
#include "OutputFormat.h"
#include "ProgressBar.h"
#include "TrackAudio.h"
#include "UserError.h"

#include <cstdio>
#include <iostream>
#include <memory>

#include <unistd.h>

namespace vantorcd {
namespace {

struct RipOptions
{
    std::string track;
    std::string output;
    RangeOptions range;
};

std::string defaultOutputFor(unsigned track)
{
    char name[32];
    std::snprintf(name, sizeof name, "track%02u.wav", track);
    return name;
}

void copyAudio(PcmReader& reader, AudioFileWriter& writer, uint64_t totalBytes)
{
    ProgressBar progress(totalBytes, ::isatty(STDERR_FILENO) == 1);
    for (;;) {
        if (interruptionRequested())
            throw UserError("interrupted; nothing was written");
        const PcmChunk chunk = reader.next();
        if (chunk.size == 0)
            break;
        writer.write(chunk.data, chunk.size);
        progress.update(reader.bytesDone());
    }
}

void runRip(Context& context, const RipOptions& options)
{
    catchInterruptions(); // from here on Ctrl-C ends the rip through the cleanup below
    if (!options.output.empty())
        outputFormatFor(options.output); // a bad extension fails before any disc access
    const std::string argument = options.track.empty() ? demoTrack(context) : options.track;
    const OpenedTrack track = openAudioTrack(context, argument);
    const std::string output = options.output.empty() ? defaultOutputFor(track.toc.number) : options.output;
    const OutputFormat format = outputFormatFor(output);
    const SampleRange range = options.range.rangeIn(track.toc);
    AtomicOutputFile file(output);
    AudioFileWriter writer(file.temporaryPath(), format, output);
    PcmReader reader = readerFor(context, track, range);
    copyAudio(reader, writer, range.byteCount());
    writer.finish();
    file.commit();
    std::cout << "wrote " << output << "\n";
}

} // namespace

void addRipCommand(CLI::App& app, Context& context)
{
    auto options = std::make_shared<RipOptions>();
    CLI::App* command = app.add_subcommand(
        "rip", "Rip a track to WAV, FLAC or AIFF (by the output's extension); the demo's track 1 by default");
    command->add_option("TRACK", options->track, "a track path (cdda://DRIVE#trackN.cda) or a .cda file");
    command->add_option("-o,--output", options->output, "the file to write (default: trackNN.wav here)");
    options->range.addTo(*command);
    command->callback([&context, options] { runRip(context, *options); });
}

} // namespace vantorcd
