// How many whole sectors one READ CD may ask a drive for.
#pragma once

#include <cstdint>
#include <string>

namespace cueify {

// 26 sectors (61,152 bytes) fit under the 64 KiB every bus and host adapter accepts.
constexpr uint32_t kReadAheadSectors = 26;

// kReadAheadSectors, or fewer where the kernel's transfer limit for the device (BLKSECTGET, the
// block queue's max_sectors) is smaller; at least one. Never fails: an unknown limit gives the default.
uint32_t readAheadSectorsFor(const std::string& path) noexcept;

} // namespace cueify
