// Every audio track of an opened disc into a file of its own, through the plug-in's parsers, with
// the CRCs that verify each.
#pragma once

#include "AccurateRipReply.h"
#include "AudioFileWriter.h"
#include "Context.h"
#include "DiscAccess.h"
#include "OutputFormat.h"
#include "RippedTrack.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vantorcd {

struct DiscRipPlan
{
    std::filesystem::path folder;
    OutputFormat format;
    std::string extension;  // of the files, without the dot
    AudioTags discTags;     // in every file: the disc's IDs, catalogue number, album
    int32_t readOffset = 0; // the drive's, in samples, corrected in the files and their CRCs
    bool secure = false;    // each sector read again until two reads agree: on drives, not images
};

// The tracks are read in disc order, each sector once, so that offset correction can take the
// samples past a track's edge from its neighbour. Each file is complete once written; a failure or Ctrl-C
// leaves the files of the tracks before it and nothing of the track it stopped in. Throws UserError naming
// the track and what happened.
std::vector<RippedTrack> ripAudioTracks(Context& context, const OpenedDisc& disc, const DiscRipPlan& plan,
                                        const AccurateRipReply& reply);

} // namespace vantorcd
