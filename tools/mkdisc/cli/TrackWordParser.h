// The track words of the mkdisc command line, for example
// "audio:300,pregap=75,flags=dcp+pre" or "mode1:1000,byte16=0", with "/" between sessions.
#pragma once

#include "mkdisc/DiscDescription.h"

#include <string>
#include <vector>

namespace mkdisc {

// One TRACK word: KIND:SECTORS[,pregap=N][,silence=N][,flags=dcp+4ch+pre][,byte16=N], KIND one of
// audio, mode1, mode2. Throws std::invalid_argument with a one-line message naming the word.
TrackDescription parseTrackWord(const std::string& word);

// TRACK words with "/" between sessions. Throws std::invalid_argument for a bad word or an empty
// session.
std::vector<SessionDescription> parseSessionWords(const std::vector<std::string>& words);

} // namespace mkdisc
