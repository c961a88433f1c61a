// The disc that the in-memory cueify fake serves to the parser fuzzers, and the failures that one
// byte of an input injects into it.
#pragma once

#include <cstdint>

namespace fuzzsupport {

// The serial number the drive's Track01.cda carries; a .cda input with it reaches the drive.
constexpr uint32_t kFakeDiscSerial = 0x1D2C3B4A;

// Resets the fake and serves the disc under every drive name: audio tracks 1 and 2 in session 1,
// a data track 3 and a track 4 that starts in the lead-in in session 2. The low three bits of
// `environment` choose one injected failure (none, device new, TOC new, open, TOC read, sector 0,
// the data track's first sector, sector 1), the rest the data track's mode byte.
void setUpFakeDisc(uint8_t environment);

// True when every handle the fake made was freed and none was misused.
bool fakeIsClean();

} // namespace fuzzsupport
