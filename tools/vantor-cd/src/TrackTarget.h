// The track a command works on, from what the user typed: a track path or a .cda track file, read
// and searched for by the plug-in's own rules, so that the command finds what the plug-in opens.
#pragma once

#include "Vantor/Core/Interfaces/IDataInput.h"

#include <optional>
#include <string>

namespace vantorcd {

struct TrackTarget
{
    std::string argument;   // as given
    bool trackFile = false; // a .cda file rather than a track path
    std::string drive;      // the drive or disc image that holds the track
    unsigned track = 0;     // as the disc numbers it
    std::string formatName; // the CD format the plug-in opens the input as

    // The input the plug-in opens: a name for a track path, the opened file for a .cda file.
    Vantor::SP<Vantor::Core::IDataInput> makeInput() const;
};

// The drive and track of a track path; nothing when the text is no track path.
// Throws UserError for a track path that cannot be read back.
std::optional<TrackTarget> parseTrackPath(const std::string& text);

// A track path or a .cda file, whose disc is then looked for among the drives.
// Throws UserError naming what is wrong: no such file, not a track, no drive holds the disc.
TrackTarget resolveTrack(const std::string& argument);

} // namespace vantorcd
