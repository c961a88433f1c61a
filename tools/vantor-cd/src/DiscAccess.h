// Opening what a command names, through the plug-in, with the table of contents that the
// cueify C API reads beside it (track types and exact sector counts).
#pragma once

#include "Context.h"
#include "CueifyDisc.h"
#include "DriveHandle.h"
#include "TrackTarget.h"

#include "Vantor/Proc/ICDReader.h"
#include "Vantor/Proc/IParser.h"

#include <string>

namespace vantorcd {

struct OpenedDisc
{
    Vantor::SP<Vantor::Proc::ICDReader> reader;
    std::shared_ptr<const DriveHandle> handle; // the drive the reader's track paths name
    DiscToc toc;                               // read through handle
};

struct OpenedTrack
{
    TrackTarget target;
    std::shared_ptr<const DriveHandle> handle; // the target's drive
    TocTrack toc;                              // read through handle
    Vantor::SP<Vantor::Proc::IParser> parser;
};

// The disc behind a drive, a mounted volume, a CUE sheet or a virtual-drive directory.
// Throws UserError: no such path, no disc.
OpenedDisc openDisc(Context& context, const std::string& path, DiscDetail detail = DiscDetail::Toc);

// An audio track by track path or .cda file. Throws UserError: no such file, not a track,
// no such track, a data track, or the plug-in's reason for not opening it.
OpenedTrack openAudioTrack(Context& context, const std::string& argument,
                           DiscDetail detail = DiscDetail::Toc);

// The parser of one audio track of an opened disc, without reading its table of contents again.
// Throws UserError with the plug-in's reason for not opening it.
Vantor::SP<Vantor::Proc::IParser> openTrackParser(Context& context, const OpenedDisc& disc, unsigned track);

// Whether a drive name is a disc image (a CUE sheet, or a folder that holds one), which reads the
// same every time and has no speed, rather than a drive or a folder that stands for one.
bool isDiscImage(const std::string& drive);

// The track path of the demo disc's first track.
std::string demoTrack(Context& context);

} // namespace vantorcd
