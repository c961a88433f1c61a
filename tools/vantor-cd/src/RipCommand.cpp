// vantor-cd rip [TRACK] [-o FILE] [--from TIME] [--to TIME] [--speed N|max]: a track (or part of
// it) into a WAV, FLAC or AIFF file, written whole or not at all; a drive's sectors each confirmed
// by reading them again.
#include "AtomicOutputFile.h"
#include "AudioFileWriter.h"
#include "Commands.h"
#include "ConfirmedTrackAudio.h"
#include "DriveSpeed.h"
#include "Interruption.h"
#include "OutputFormat.h"
#include "ProgressBar.h"
#include "TrackAudio.h"
#include "UserError.h"

#include <cstdio>
#include <functional>
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
    unsigned speed = 0; // the drive's fastest
};

std::string defaultOutputFor(unsigned track)
{
    char name[32];
    std::snprintf(name, sizeof name, "track%02u.wav", track);
    return name;
}

void copyAudio(const std::function<PcmChunk()>& next, AudioFileWriter& writer, uint64_t totalBytes)
{
    ProgressBar progress(totalBytes, ::isatty(STDERR_FILENO) == 1);
    uint64_t done = 0;
    for (;;) {
        if (interruptionRequested())
            throw UserError("interrupted; nothing was written");
        const PcmChunk chunk = next();
        if (chunk.size == 0)
            break;
        writer.write(chunk.data, chunk.size);
        done += chunk.size;
        progress.update(done);
    }
}

// A drive may deliver a sector it could not read cleanly without an error: on a drive each
// sector is read until two reads agree. An image reads the same every time.
void copyTrack(Context& context, const OpenedTrack& track, const SampleRange& range, AudioFileWriter& writer)
{
    const auto reason = [&context] { return context.lastLoggedError(); };
    if (isDiscImage(track.target.drive)) {
        PcmReader reader = readerFor(context, track, range);
        copyAudio([&reader] { return reader.next(); }, writer, range.byteCount());
        return;
    }
    ConfirmedTrackAudio audio(track, range, reason);
    copyAudio([&audio] { return audio.next(); }, writer, range.byteCount());
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
    const HeldSpeed speed(*track.handle, options.speed);
    AtomicOutputFile file(output);
    AudioFileWriter writer(file.temporaryPath(), format, output);
    copyTrack(context, track, range, writer);
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
    addSpeedOption(*command, options->speed);
    command->callback([&context, options] { runRip(context, *options); });
}

} // namespace vantorcd
