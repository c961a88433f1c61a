// Devices opened by name, and a TOC's answers written out as text so that tests compare them whole.
#pragma once

#include "ScratchDirectory.h"
#include "cueify_testing/CueifyOwners.h"

#include <cueify/cueify.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace cueify::test {

namespace fs = std::filesystem;
using Sector = std::array<uint8_t, CUEIFY_RAW_SECTOR_SIZE>;

// A handle opened on name, whose open must give the expected result.
inline DeviceOwner openDevice(const fs::path& name, int expected = CUEIFY_OK)
{
    DeviceOwner device(cueify_device_new());
    EXPECT_EQ(cueify_device_open(device.get(), name.c_str()), expected) << name;
    return device;
}

// The device's full TOC, or null (which describeToc writes as nothing) when the read fails.
inline TocOwner readToc(cueify_device* device)
{
    TocOwner toc(cueify_full_toc_new());
    return cueify_device_read_full_toc(device, toc.get()) == CUEIFY_OK ? std::move(toc) : nullptr;
}

inline std::string msfText(cueify_msf_t msf)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", msf.min, msf.sec, msf.frm);
    return text;
}

// A line per session, then per track from the smallest first to the largest last track.
inline std::string describeToc(cueify_full_toc* t)
{
    std::string text;
    char line[128];
    int first = 99, last = 0;
    for (int s = cueify_full_toc_get_first_session(t); s > 0 && s <= cueify_full_toc_get_last_session(t);
         ++s) {
        first = std::min<int>(first, cueify_full_toc_get_session_first_track(t, s));
        last = std::max<int>(last, cueify_full_toc_get_session_last_track(t, s));
        std::snprintf(line, sizeof line, "session %d: tracks %d-%d, type 0x%02X, lead-out %s\n", s,
                      cueify_full_toc_get_session_first_track(t, s),
                      cueify_full_toc_get_session_last_track(t, s), cueify_full_toc_get_session_type(t, s),
                      msfText(cueify_full_toc_get_session_leadout_address(t, s)).c_str());
        text += line;
    }
    for (int n = first; n <= last; ++n) {
        std::snprintf(line, sizeof line, "track %d: session %d, control 0x%X, at %s, length %s\n", n,
                      cueify_full_toc_get_track_session(t, n), cueify_full_toc_get_track_control_flags(t, n),
                      msfText(cueify_full_toc_get_track_address(t, n)).c_str(),
                      msfText(cueify_full_toc_get_track_length(t, n)).c_str());
        text += line;
    }
    return text;
}

} // namespace cueify::test
