// The device functions of the cueify C API, answered from the fake's state.
#include "cueify_fake/FakeState.h"

#include <cstdlib>
#include <cstring>

namespace {

using fake::FakeCueify;
using Lock = std::lock_guard<std::mutex>;

FakeCueify::State& state()
{
    return FakeCueify::instance().state();
}

bool isFailure(const std::optional<int>& code)
{
    return code.has_value() && *code != CUEIFY_OK;
}

// The pointer array followed by the names, in one block that a single free() releases.
char** packDeviceList(const std::vector<std::optional<std::string>>& names)
{
    size_t size = names.size() * sizeof(char*);
    for (const auto& name : names)
        size += name ? name->size() + 1 : 0;
    auto* block = static_cast<char**>(std::malloc(size));
    if (block == nullptr)
        return nullptr;
    char* text = reinterpret_cast<char*>(block + names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        block[i] = names[i] ? text : nullptr;
        if (names[i]) {
            std::memcpy(text, names[i]->c_str(), names[i]->size() + 1);
            text += names[i]->size() + 1;
        }
    }
    return block;
}

} // namespace

extern "C" {

cueify_device* cueify_device_new(void)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_device_new");
    return s.data.failNew ? nullptr : s.makeDevice();
}

int cueify_device_open(cueify_device* d, const char* device)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_device_open", device != nullptr ? device : "(null)");
    fake::FakeDevice* handle = s.findDevice("cueify_device_open", d);
    if (handle == nullptr || (device != nullptr && *device == '\0'))
        return CUEIFY_ERR_BADARG;
    handle->open = false;
    std::optional<std::string> name = device != nullptr ? std::optional<std::string>(device) : s.data.defaultDevice;
    if (!name)
        return CUEIFY_ERR_NO_DEVICE;
    std::optional<int> failure = s.openFailureFor(*name);
    if (isFailure(failure))
        return *failure;
    handle->open = true;
    handle->name = *name;
    return CUEIFY_OK;
}

int cueify_device_close(cueify_device* d)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_device_close");
    fake::FakeDevice* handle = s.findDevice("cueify_device_close", d);
    if (handle == nullptr)
        return CUEIFY_ERR_BADARG;
    handle->open = false;
    return CUEIFY_OK;
}

void cueify_device_free(cueify_device* d)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_device_free");
    if (fake::FakeDevice* handle = s.findDevice("cueify_device_free", d)) {
        handle->open = false;
        handle->freed = true;
    }
}

const char* cueify_device_get_default_device(void)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_device_get_default_device");
    return s.data.defaultDevice ? s.data.defaultDevice->c_str() : nullptr;
}

int cueify_device_read_full_toc(cueify_device* d, cueify_full_toc* t)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_device_read_full_toc");
    fake::FakeDevice* device = s.findDevice("cueify_device_read_full_toc", d);
    fake::FakeToc* toc = s.findToc("cueify_device_read_full_toc", t);
    if (device == nullptr || toc == nullptr)
        return CUEIFY_ERR_BADARG;
    toc->disc = fake::FakeDisc{};
    if (!device->open)
        return CUEIFY_ERR_BADARG;
    if (isFailure(s.data.tocReadFailure))
        return *s.data.tocReadFailure;
    toc->disc = s.discFor(device->name);
    return CUEIFY_OK;
}

int cueify_device_read_raw(cueify_device* d, uint32_t lba, uint8_t* buffer)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_device_read_raw", {}, lba);
    fake::FakeDevice* device = s.findDevice("cueify_device_read_raw", d);
    if (device == nullptr || !device->open || buffer == nullptr)
        return CUEIFY_ERR_BADARG;
    std::optional<int> failure = s.takeReadFailure(device->name, lba);
    if (isFailure(failure))
        return *failure;
    fake::Sector sector = s.sectorFor(device->name, lba);
    std::memcpy(buffer, sector.data(), sector.size());
    return CUEIFY_OK;
}

char** cueify_device_get_all_devices(size_t* count)
{
    auto& s = state();
    Lock lock(s.mutex);
    s.record("cueify_device_get_all_devices");
    if (count == nullptr)
        return nullptr;
    char** block = s.data.devices.empty() ? nullptr : packDeviceList(s.data.devices);
    *count = block != nullptr ? s.data.devices.size() : 0;
    return block;
}

} // extern "C"
