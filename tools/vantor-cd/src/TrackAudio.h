// What rip and play share: the --from/--to options and a reader over the chosen range.
#pragma once

#include "Context.h"
#include "DiscAccess.h"
#include "PcmReader.h"
#include "SampleRange.h"

#include <CLI/CLI.hpp>

#include <string>

namespace vantorcd {

struct RangeOptions
{
    std::string from;
    std::string to;

    void addTo(CLI::App& command);
    // Throws UserError naming the option for a bad time or a range outside the track.
    SampleRange rangeIn(const TocTrack& track) const;
};

// Seeks the track's parser to the range. Throws what PcmReader's constructor throws.
PcmReader readerFor(Context& context, const OpenedTrack& track, const SampleRange& range);

} // namespace vantorcd
