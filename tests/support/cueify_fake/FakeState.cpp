#include "cueify_fake/FakeState.h"

#include <algorithm>
#include <cstdio>

namespace fake {

namespace {

template <typename Handle, typename Object>
Object* findIn(const std::vector<std::unique_ptr<Object>>& made, Handle* handle)
{
    auto found = std::find_if(made.begin(), made.end(), [handle](const std::unique_ptr<Object>& object) {
        return reinterpret_cast<Handle*>(object.get()) == handle;
    });
    return found == made.end() ? nullptr : found->get();
}

template <typename Key, typename Value>
const Value* lookup(const std::map<Key, Value>& map, const Key& key)
{
    auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}

} // namespace

void FakeCueify::State::record(const char* function, std::string text, uint32_t number)
{
    data.calls.push_back(Call{function, std::move(text), number});
}

void FakeCueify::State::misuse(const char* function, const char* what)
{
    std::string line = std::string(function) + ": " + what;
    std::fprintf(stderr, "cueify fake: %s\n", line.c_str());
    data.misuses.push_back(std::move(line));
}

cueify_device* FakeCueify::State::makeDevice()
{
    data.deviceHandles.push_back(std::make_unique<FakeDevice>());
    return reinterpret_cast<cueify_device*>(data.deviceHandles.back().get());
}

cueify_full_toc* FakeCueify::State::makeToc()
{
    data.tocHandles.push_back(std::make_unique<FakeToc>());
    return reinterpret_cast<cueify_full_toc*>(data.tocHandles.back().get());
}

FakeDevice* FakeCueify::State::findDevice(const char* function, cueify_device* handle)
{
    if (handle == nullptr)
        return nullptr;
    FakeDevice* device = findIn(data.deviceHandles, handle);
    if (device == nullptr)
        misuse(function, "unknown device handle");
    else if (device->freed)
        misuse(function, "device handle already freed");
    return device != nullptr && !device->freed ? device : nullptr;
}

FakeToc* FakeCueify::State::findToc(const char* function, cueify_full_toc* handle)
{
    if (handle == nullptr)
        return nullptr;
    FakeToc* toc = findIn(data.tocHandles, handle);
    if (toc == nullptr)
        misuse(function, "unknown TOC handle");
    else if (toc->freed)
        misuse(function, "TOC handle already freed");
    return toc != nullptr && !toc->freed ? toc : nullptr;
}

const FakeDisc& FakeCueify::State::discFor(const std::string& deviceName) const
{
    const FakeDisc* disc = lookup(data.discs, deviceName);
    return disc != nullptr ? *disc : data.defaultDisc;
}

Sector FakeCueify::State::sectorFor(const std::string& deviceName, uint32_t lba) const
{
    if (const auto* deviceSectors = lookup(data.deviceSectors, deviceName))
        if (const Sector* sector = lookup(*deviceSectors, lba))
            return *sector;
    const Sector* sector = lookup(data.sectors, lba);
    return sector != nullptr ? *sector : Sector{};
}

std::optional<int> FakeCueify::State::takeReadFailure(const std::string& deviceName, uint32_t lba)
{
    auto counted = data.countedReadFailures.find(lba);
    if (counted != data.countedReadFailures.end() && counted->second.remaining > 0) {
        --counted->second.remaining;
        return counted->second.code;
    }
    if (const auto* deviceFailures = lookup(data.deviceReadFailures, deviceName))
        if (const int* code = lookup(*deviceFailures, lba))
            return *code;
    const int* code = lookup(data.readFailures, lba);
    return code != nullptr ? std::optional<int>(*code) : std::nullopt;
}

std::optional<int> FakeCueify::State::openFailureFor(const std::string& deviceName) const
{
    const int* code = lookup(data.openFailures, deviceName);
    return code != nullptr ? std::optional<int>(*code) : data.openFailure;
}

} // namespace fake
