// The fake's state behind FakeCueify and the C functions; private to the fake.
#pragma once

#include "cueify_fake/FakeCueify.h"

#include <mutex>

namespace fake {

struct FakeDevice
{
    bool freed = false;
    bool open = false;
    std::string name;
};

struct FakeToc
{
    bool freed = false;
    FakeDisc disc;
};

struct CountedFailure
{
    int code = 0;
    int remaining = 0;
};

// Settings and observations, replaced as a whole by reset().
struct FakeData
{
    FakeDisc defaultDisc;
    std::map<std::string, FakeDisc> discs;
    std::map<uint32_t, Sector> sectors;
    std::map<std::string, std::map<uint32_t, Sector>> deviceSectors;

    bool failNew = false;
    bool failTocNew = false;
    std::optional<int> openFailure;
    std::map<std::string, int> openFailures;
    std::optional<int> tocReadFailure;
    std::map<uint32_t, int> readFailures;
    std::map<std::string, std::map<uint32_t, int>> deviceReadFailures;
    std::map<uint32_t, CountedFailure> countedReadFailures;

    std::vector<std::optional<std::string>> devices;
    std::optional<std::string> defaultDevice;

    std::vector<Call> calls;
    std::vector<std::string> misuses;
    // Never shrinks before reset(), so the address of a freed handle is never handed out again.
    std::vector<std::unique_ptr<FakeDevice>> deviceHandles;
    std::vector<std::unique_ptr<FakeToc>> tocHandles;
};

struct FakeCueify::State
{
    mutable std::mutex mutex;
    FakeData data;

    void record(const char* function, std::string text = {}, uint32_t number = 0);

    cueify_device* makeDevice();
    cueify_full_toc* makeToc();

    // The live handle behind a pointer, or null for a NULL, unknown or freed one; the last two are
    // recorded as misuse of `function`.
    FakeDevice* findDevice(const char* function, cueify_device* handle);
    FakeToc* findToc(const char* function, cueify_full_toc* handle);

    const FakeDisc& discFor(const std::string& deviceName) const;
    Sector sectorFor(const std::string& deviceName, uint32_t lba) const;
    // The injected failure of the next read of lba on that device, using up a counted one.
    std::optional<int> takeReadFailure(const std::string& deviceName, uint32_t lba);
    std::optional<int> openFailureFor(const std::string& deviceName) const;

private:
    void misuse(const char* function, const char* what);
};

} // namespace fake
