// Opens one input as the host would and, when it opens, plays a little of it.
#pragma once

#include <string>

namespace fuzzsupport {

// Creates a parser through ParserCD::Create for a data input with that path. An exception from
// the open is an answer like any other and is swallowed. When the parser opens, a few packets are
// read, from the start and after a seek to the end; a packet that is not one raw sector with its
// sector's timestamp traps.
void openAndPlay(const std::string& path) noexcept;

// Keeps the parser's log lines (failed sector reads) out of the fuzzer's output.
void silenceLogging() noexcept;

} // namespace fuzzsupport
