// libcdio's process-wide state (its driver table, the device scan, the log handler) is not
// thread-safe: every open, close and device listing goes through here, under one lock.
#pragma once

#include <cdio/cdio.h>

#include <memory>
#include <string>
#include <vector>

namespace cueify {

struct CdioCloser
{
    void operator()(CdIo_t* cdio) const noexcept;
};

using CdioHandle = std::unique_ptr<CdIo_t, CdioCloser>;

// Null when libcdio's device driver refuses the path. libcdio accepts some paths that are no
// drive (it opens /dev/null), so callers check what the handle reports.
CdioHandle openCdioDevice(const std::string& path);

// The drives libcdio's device driver finds; empty on a machine without one.
std::vector<std::string> cdioDeviceNames();

} // namespace cueify
