// Small disc images whose CUE sheets seed cue_sheet_fuzzer; the fuzzer writes the same images at
// start, so that every seed's FILE lines name data files that exist beside the fuzzed sheet.
#pragma once

#include "mkdisc/DiscDescription.h"

#include <vector>

namespace fuzzsupport {

// Binary and WAVE data files, one per disc or per track; stored and generated pregaps, flags,
// data tracks and a second session.
std::vector<mkdisc::DiscDescription> cueImageDiscs();

} // namespace fuzzsupport
