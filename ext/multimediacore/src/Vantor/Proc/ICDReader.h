// Lists an audio CD: its tracks, their durations and the track paths that open them.
#pragma once

#include "Vantor/Core/Interfaces/Export.h"
#include "Vantor/Core/Interfaces/IRefCountable.h"
#include "Vantor/Core/Interfaces/Types.h"
#include "Vantor/Core/Interfaces/ioPath.h"

#include <string>

namespace Vantor {
namespace Proc {

class VANTOR_API ICDReader : public IRefCountable
{
public:
    virtual avTime GetDiskDuration() const = 0;
    virtual Index GetTrackCount() const = 0;
    // Tracks are numbered from 1.
    virtual avTime GetTrackDuration(Index track) const = 0;
    virtual ioPath GetTrackPath(Index track) const = 0;

    // A track path is CD_PATH_PREFIX + drive path + CD_TRACK_PREFIX + track number + ".cda".
    static const std::string CD_PATH_PREFIX;
    static const std::string CD_TRACK_PREFIX;
};

} // namespace Proc
} // namespace Vantor
