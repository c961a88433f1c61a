// Discs described in the disc-image writer's track words, as its command line takes them.
#pragma once

#include "TrackWordParser.h"
#include "mkdisc/DiscDescription.h"

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

// The disc of mkdisc's track words ("audio:300,pregap=33 audio:200 / mode1:300"), as a drive
// emulator's disc or an image that the disc-image writer writes.
inline mkdisc::DiscDescription discOfTrackWords(const std::string& trackWords,
                                                const std::string& name = "disc")
{
    std::istringstream stream(trackWords);
    return {name, mkdisc::parseSessionWords({std::istream_iterator<std::string>(stream), {}})};
}

} // namespace testsupport
