#include "SampleRange.h"

#include "TimeText.h"
#include "UserError.h"

#include <algorithm>
#include <cstdio>

namespace vantorcd {
namespace {

constexpr Vantor::avTime kMicrosecondsPerSecond = 1000000;

uint64_t sampleAt(Vantor::avTime time)
{
    return static_cast<uint64_t>((time * kSampleRate + kMicrosecondsPerSecond / 2) / kMicrosecondsPerSecond);
}

std::string exactTime(uint64_t samples)
{
    const uint64_t milliseconds = samples * 1000 / kSampleRate;
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03u", static_cast<unsigned>(milliseconds % 1000));
    return formatDuration(static_cast<Vantor::avTime>(milliseconds) * 1000) + fraction;
}

} // namespace

SampleRange sampleRangeOf(std::optional<Vantor::avTime> from, std::optional<Vantor::avTime> to,
                          uint32_t trackSectors)
{
    const uint64_t trackSamples = uint64_t{trackSectors} * kSamplesPerSector;
    SampleRange range{0, trackSamples};
    if (from)
        range.begin = sampleAt(*from);
    if (to)
        range.end = std::min(sampleAt(*to), trackSamples);
    if (range.begin >= trackSamples)
        throw UserError("--from " + exactTime(range.begin) + " is past the end of the track (" +
                        exactTime(trackSamples) + ")");
    if (range.end <= range.begin)
        throw UserError("--to " + exactTime(range.end) + " is not after --from " + exactTime(range.begin));
    return range;
}

} // namespace vantorcd
