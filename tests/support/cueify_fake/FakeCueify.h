// An in-memory stand-in for the cueify C API. Unit tests link it instead of the real library,
// set up any disc (table of contents, sector contents, failures, the list of drives) and then
// check which calls were made and that every handle was freed.
//
// Handle misuse (a double free, a call on a freed or unknown handle) never touches memory: it is
// recorded in misuses() and printed to stderr, and the call answers like a NULL handle would.
// Freed handles stay allocated until reset(), so a stale handle can never alias a new one.
#pragma once

#include <cueify/cueify.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fake {

struct Msf
{
    uint8_t min = 0;
    uint8_t sec = 0;
    uint8_t frm = 0;
};

struct FakeTrack
{
    uint8_t number = 0;
    uint8_t session = 1;
    uint8_t control = 0;    // CONTROL nibble
    uint8_t subQFormat = 1; // ADR nibble
    Msf address;            // absolute start, may lie below 00:02:00
    Msf length;             // answered as is by cueify_full_toc_get_track_length
};

struct FakeSession
{
    uint8_t number = 1;
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    uint8_t type = CUEIFY_SESSION_MODE_1;
    Msf leadOut;
};

struct FakeDisc
{
    std::vector<FakeSession> sessions;
    std::vector<FakeTrack> tracks;
};

using Sector = std::array<uint8_t, 2352>;

// One recorded call of the C API: its name and, where it has one, its text or number argument.
struct Call
{
    std::string function;
    std::string text;    // device name for cueify_device_open ("(null)" for a NULL name)
    uint32_t number = 0; // lba for cueify_device_read_raw, track or session for TOC getters
};

// The fake's whole state. Everything is reset by reset(); tests call it in SetUp.
// Every member and every C function locks one mutex, so concurrent callers cannot corrupt it.
class FakeCueify
{
public:
    static FakeCueify& instance();

    // Forgets every setting, call, handle and misuse; handles made before are invalid afterwards.
    void reset();

    // The disc every successfully opened device holds (per device name, or for all names).
    void setDisc(const FakeDisc& disc);
    void setDisc(const std::string& deviceName, const FakeDisc& disc);

    // Sector contents by logical block address; unset sectors read as zeros.
    void setSector(uint32_t lba, const Sector& bytes);
    void setSector(const std::string& deviceName, uint32_t lba, const Sector& bytes);

    // Failures injected with the code the C call returns. They last until reset(), except
    // failReadCount, which is used up by the reads it fails; it takes precedence over failReadAt.
    void failNew();                                        // cueify_device_new returns NULL
    void failTocNew();                                     // cueify_full_toc_new returns NULL
    void failOpen(int code);                               // every open
    void failOpen(const std::string& deviceName, int code);
    void failTocRead(int code);
    void failReadAt(uint32_t lba, int code);               // every device
    void failReadAt(const std::string& deviceName, uint32_t lba, int code);
    void failReadCount(uint32_t lba, int code, int times); // fails the next `times` reads of lba

    // The names cueify_device_get_all_devices returns, as one malloc'ed block like the real library;
    // std::nullopt entries come back as null pointers. The first name that is not std::nullopt is
    // also what cueify_device_get_default_device answers and what opening a NULL name opens.
    void setDevices(const std::vector<std::optional<std::string>>& names);

    // A copy, so that a test may read it while other threads still call the API.
    std::vector<Call> calls() const;
    size_t countCalls(const std::string& function) const;
    bool wasCalled(const std::string& function) const { return countCalls(function) > 0; }

    // Handles made and not yet freed; devices opened and not yet closed or freed.
    int liveDevices() const;
    int liveTocs() const;
    int openDevices() const;

    // One line per misuse of a handle since reset(), e.g. "cueify_device_free: handle freed twice".
    std::vector<std::string> misuses() const;

    struct State;
    State& state();

    ~FakeCueify();
    FakeCueify(const FakeCueify&) = delete;
    FakeCueify& operator=(const FakeCueify&) = delete;

private:
    FakeCueify();
    std::unique_ptr<State> m_state;
};

} // namespace fake
