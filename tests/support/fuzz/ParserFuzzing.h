// What the parser fuzzers share: the disc the in-memory cueify fake serves them, the failures
// that one byte of an input injects into it, and a parser open as the host would do it.
#pragma once

#include <cstdint>
#include <string>

namespace fuzzsupport {

// The serial number the drive's Track01.cda carries; a .cda input with it reaches the drive.
constexpr uint32_t kFakeDiscSerial = 0x1D2C3B4A;

// Resets the fake and serves the disc under every drive name: audio tracks 1 and 2 in session 1,
// a data track 3 and a track 4 that starts in the lead-in in session 2. The low three bits of
// `environment` choose one injected failure (none, device new, TOC new, open, TOC read, sector 0,
// the data track's first sector, sector 1), the rest the data track's mode byte.
void setUpFakeDisc(uint8_t environment);

// Creates a parser through ParserCD::Create for a data input with that path. An exception from
// the open is an answer like any other and is swallowed. When the parser opens, a few packets are
// read, from the start and after a seek to the end; a packet that is not one raw sector with its
// sector's timestamp traps, and so does a device or TOC handle of the fake left open or misused.
void openAndPlay(const std::string& path) noexcept;

// Keeps the parser's log lines (failed sector reads) out of the fuzzer's output.
void silenceLogging() noexcept;

} // namespace fuzzsupport
