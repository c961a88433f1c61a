// vantor-cd play [TRACK] [--speed N|max]: the track's raw PCM (signed 16-bit little-endian,
// 44.1 kHz, stereo) on standard output, for a player such as "aplay -f cd". Each sector is read once.
#include "Commands.h"
#include "DriveSpeed.h"
#include "Interruption.h"
#include "TrackAudio.h"
#include "UserError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace vantorcd {
namespace {

struct PlayOptions
{
    std::string track;
    RangeOptions range;
    unsigned speed = 0; // the drive's fastest
};

void writeOut(const PcmChunk& chunk)
{
    if (std::fwrite(chunk.data, 1, chunk.size, stdout) != chunk.size)
        throw UserError(std::string("cannot write to standard output: ") + std::strerror(errno));
}

void runPlay(Context& context, const PlayOptions& options)
{
    if (::isatty(STDOUT_FILENO) == 1)
        throw UserError(
            "standard output is a terminal; pipe it into a player: vantor-cd play TRACK | aplay -f cd");
    catchInterruptions(); // Ctrl-C ends the loop below, so that the drive gets its speed back
    const std::string argument = options.track.empty() ? demoTrack(context) : options.track;
    const OpenedTrack track = openAudioTrack(context, argument);
    PcmReader reader = readerFor(context, track, options.range.rangeIn(track.toc));
    const HeldSpeed speed(*track.handle, options.speed);
    for (PcmChunk chunk = reader.next(); chunk.size != 0; chunk = reader.next()) {
        if (interruptionRequested())
            throw UserError("interrupted");
        writeOut(chunk);
    }
    if (std::fflush(stdout) != 0)
        throw UserError(std::string("cannot write to standard output: ") + std::strerror(errno));
}

} // namespace

void addPlayCommand(CLI::App& app, Context& context)
{
    auto options = std::make_shared<PlayOptions>();
    CLI::App* command = app.add_subcommand(
        "play", "Write a track as raw CD audio to standard output (vantor-cd play TRACK | aplay -f cd)");
    command->add_option("TRACK", options->track, "a track path (cdda://DRIVE#trackN.cda) or a .cda file");
    options->range.addTo(*command);
    addSpeedOption(*command, options->speed);
    command->callback([&context, options] { runPlay(context, *options); });
}

} // namespace vantorcd
