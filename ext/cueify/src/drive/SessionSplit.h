// A one-session track table split where the last session starts.
#pragma once

#include "core/FullTocData.h"
#include "drive/SessionInfo.h"

namespace cueify {

// The tracks from the one that starts at last.firstTrackStart on become session last.number, and
// the session before them ends kSessionGapFrames before that track, at its own lead-out. Sessions
// between the first and the last cannot be told apart this way and stay one. The table is left as
// it is when it already has several sessions, when no track but the first starts there, or when
// the gap would not fit.
void splitAtLastSession(FullTocData& toc, const LastSessionStart& last);

} // namespace cueify
