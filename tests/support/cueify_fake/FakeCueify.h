// An in-memory stand-in for the cueify C API that unit tests link instead of the real library: a
// test sets up any disc, sector contents, failures and drive list, then checks the calls made and
// that every handle was freed. Handle misuse (a double free, a call on a freed or unknown handle)
// never touches memory: it is recorded in misuses(), printed to stderr and answered like a NULL
// handle. Freed handles stay allocated until reset(), so a stale handle never aliases a new one.
// Single-threaded, like the tests and fuzz targets that use it.
#pragma once

#include <cueify/cueify.h>
#include <discgeometry/DiscGeometry.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fake {

// Plain binary minutes, seconds and frames, as the getters answer them.
using Msf = cueify_msf_t;

struct FakeTrack
{
    uint8_t number = 0;
    uint8_t session = 1;
    uint8_t control = 0;    // CONTROL nibble
    uint8_t subQFormat = 1; // ADR nibble
    Msf address{};          // absolute start, may lie below 00:02:00
    Msf length{};           // answered as is by cueify_full_toc_get_track_length
};

struct FakeSession
{
    uint8_t number = 1;
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    uint8_t type = CUEIFY_SESSION_MODE_1;
    Msf leadOut{};
};

struct FakeDisc
{
    std::vector<FakeSession> sessions;
    std::vector<FakeTrack> tracks;
};

using Sector = std::array<uint8_t, discgeometry::kRawSectorBytes>;

// What a device or TOC handle points to.
struct FakeHandle
{
    bool freed = false;
    bool open = false; // devices: opened on name
    std::string name;
    FakeDisc disc; // TOCs: the disc last read into it
};

// Settings and observations, replaced as a whole by reset(). Failures are the result codes of C
// calls, keyed by the function, then the device name and logical block address where the call has
// them; a failure for the device name "" holds for every device without one of its own.
struct FakeData
{
    FakeDisc disc;
    std::map<uint32_t, Sector> sectors;
    std::map<std::string, int> failures;
    std::vector<std::optional<std::string>> devices;

    std::vector<std::string> calls; // the C functions called, in order
    std::vector<std::string> openedDevices;
    std::vector<uint32_t> readAddresses;
    std::vector<std::string> misuses;
    // Never shrinks before reset(), so the address of a freed handle is never handed out again.
    std::vector<std::unique_ptr<FakeHandle>> deviceHandles;
    std::vector<std::unique_ptr<FakeHandle>> tocHandles;
};

// The fake's whole state; tests call reset() in SetUp.
class FakeCueify
{
public:
    static FakeCueify& instance()
    {
        static FakeCueify fake;
        return fake;
    }

    // Forgets every setting, call, handle and misuse; handles made before are invalid afterwards.
    void reset() { data = FakeData{}; }

    // The disc every opened device holds; its sectors by logical block address (unset ones are zeros).
    void setDisc(const FakeDisc& disc) { data.disc = disc; }
    void setSector(uint32_t lba, const Sector& bytes) { data.sectors[lba] = bytes; }

    // Failures injected with the code the C call returns, until reset(). A device's own failure wins
    // over one for every device; the constructors fail by returning NULL.
    void failNew() { data.failures["cueify_device_new"] = CUEIFY_ERR_NOMEM; }
    void failTocNew() { data.failures["cueify_full_toc_new"] = CUEIFY_ERR_NOMEM; }
    void failOpen(int code) { failOpen("", code); }
    void failOpen(const std::string& name, int code) { data.failures["cueify_device_open " + name] = code; }
    void failTocRead(int code) { data.failures["cueify_device_read_full_toc"] = code; }
    void failReadAt(uint32_t lba, int code) { failReadAt("", lba, code); }
    void failReadAt(const std::string& name, uint32_t lba, int code)
    {
        data.failures["cueify_device_read_raw " + name + " " + std::to_string(lba)] = code;
    }

    // The names cueify_device_get_all_devices returns, as one malloc'ed block like the real library;
    // std::nullopt entries come back as null pointers.
    void setDevices(const std::vector<std::optional<std::string>>& names) { data.devices = names; }

    std::vector<std::string> calls() const { return data.calls; }
    // The names cueify_device_open was given and the logical block addresses read, in call order.
    std::vector<std::string> openedDevices() const { return data.openedDevices; }
    std::vector<uint32_t> readAddresses() const { return data.readAddresses; }
    // One line per misuse of a handle since reset(), e.g. "cueify_device_free: device handle already freed".
    std::vector<std::string> misuses() const { return data.misuses; }

    // Handles made and not yet freed; devices opened and not yet closed or freed.
    int liveDevices() const { return count(data.deviceHandles, &FakeHandle::freed, false); }
    int liveTocs() const { return count(data.tocHandles, &FakeHandle::freed, false); }
    int openDevices() const { return count(data.deviceHandles, &FakeHandle::open, true); }

    // What the fake's C functions answer from and record into.
    FakeData data;

private:
    FakeCueify() = default;

    static int count(const std::vector<std::unique_ptr<FakeHandle>>& handles, bool FakeHandle::*field,
                     bool value)
    {
        return static_cast<int>(std::count_if(handles.begin(), handles.end(),
                                              [&](const auto& handle) { return (*handle).*field == value; }));
    }
};

} // namespace fake
