// The questions the full-TOC getters ask of a FullTocData: which entry a number names,
// and how long a track is.
#pragma once

#include "core/Addressing.h"
#include "core/FullTocData.h"

#include <cstdint>

namespace cueify {

// The track, or null when the number lies outside the disc's first and last track.
const TocTrack* findTrack(const FullTocData& toc, uint8_t number) noexcept;

// The session, or null when the number lies outside the disc's first and last session.
const TocSession* findSession(const FullTocData& toc, uint8_t number) noexcept;

// Up to the next track's start when that track is in the same session, else up to the
// session's lead-out: the next track's pregap counts to this track, the gap between
// sessions to none.
FrameCount trackLength(const FullTocData& toc, const TocTrack& track) noexcept;

} // namespace cueify
