#include "TrackAudio.h"

#include "TimeText.h"
#include "UserError.h"

#include <optional>

namespace vantorcd {
namespace {

std::optional<Vantor::avTime> timeOption(const std::string& text, const char* name)
{
    if (text.empty())
        return std::nullopt;
    try {
        return parseTime(text);
    } catch (const UserError& error) {
        throw UserError(std::string(name) + ": " + error.what());
    }
}

} // namespace

void RangeOptions::addTo(CLI::App& command)
{
    command.add_option("--from", from,
                       "start time: seconds (12.5) or m:ss(.fff) (default: the track's start)");
    command.add_option("--to", to, "stop time: seconds or m:ss(.fff) (default: the track's end)");
}

SampleRange RangeOptions::rangeIn(const TocTrack& track) const
{
    return sampleRangeOf(timeOption(from, "--from"), timeOption(to, "--to"), track.lengthSectors);
}

PcmReader readerFor(Context& context, const OpenedTrack& track, const SampleRange& range)
{
    const TrackExtent extent{track.toc.number, track.toc.startLba, track.toc.lengthSectors};
    return PcmReader(track.parser, extent, range, [&context] { return context.lastLoggedError(); });
}

} // namespace vantorcd
