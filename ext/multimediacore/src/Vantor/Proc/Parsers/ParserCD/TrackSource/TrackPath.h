// Track paths, the names under which a host opens one track of a disc: CD_PATH_PREFIX, the drive
// path, CD_TRACK_PREFIX, the track number and ".cda"; and the CD format name of any input.
#pragma once

#include "Vantor/Core/Interfaces/Types.h"
#include "Vantor/Core/Interfaces/ioPath.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Vantor {
namespace Proc {

// The drive and track a track path names, as it names them.
struct TrackLocation
{
    std::string drive;
    uint32_t track = 0;
};

// Track 7 of /dev/sr0 is CD_PATH_PREFIX + "/dev/sr0" + CD_TRACK_PREFIX + "7.cda": the parts are
// joined with nothing in between, which is what lets ReadTrackPath find them again.
ioPath MakeTrackPath(const ioPath& drive, Index track);

// Whether an input names a track by track path rather than by a .cda file: CD_PATH_PREFIX occurs
// anywhere in it.
bool IsTrackPath(const std::string& path);

// The drive, from the end of CD_PATH_PREFIX to the first CD_TRACK_PREFIX, and the number, from there
// to the first occurrence of the path's extension, read as std::stoi reads it (leading blanks and a
// sign allowed, what follows the digits ignored). A part whose end lies before its start runs to the
// end of the path. Empty when the track prefix or the extension does not occur. Throws what
// std::stoi throws: std::invalid_argument without digits, std::out_of_range past an int.
std::optional<TrackLocation> ReadTrackPath(const ioPath& path);

// The track as the disc-access library numbers it: one byte, the low eight bits.
uint8_t DiscTrackNumber(uint32_t track) noexcept;

// The input's extension as a format name: lower case by the global locale, without its dot; empty
// for a path without one.
std::string FormatNameOf(const ioPath& path);

// Whether the name matches, byte for byte, one of the host's CD format names.
bool IsCDFormat(const std::string& name);

} // namespace Proc
} // namespace Vantor
