// The cueify C API answered from the fake's state; every call is recorded.
#include "cueify_fake/FakeCueify.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using fake::FakeDisc;
using fake::FakeHandle;

fake::FakeData& data()
{
    return fake::FakeCueify::instance().data;
}

void record(const char* function)
{
    data().calls.emplace_back(function);
}

// A new handle; what it points to stays allocated until reset().
template <class Handle> Handle* make(std::vector<std::unique_ptr<FakeHandle>>& made)
{
    return reinterpret_cast<Handle*>(made.emplace_back(std::make_unique<FakeHandle>()).get());
}

// The object behind a handle, or null for a NULL, unknown or freed one; the last two are recorded
// as misuse of the function last called.
FakeHandle* live(const std::vector<std::unique_ptr<FakeHandle>>& made, const void* handle, const char* kind)
{
    const auto found =
        std::find_if(made.begin(), made.end(), [&](auto& object) { return object.get() == handle; });
    if (handle == nullptr || (found != made.end() && !(*found)->freed))
        return handle == nullptr ? nullptr : found->get();
    const std::string what = found == made.end() ? std::string("unknown ") + kind + " handle"
                                                 : std::string(kind) + " handle already freed";
    data().misuses.push_back(data().calls.back() + ": " + what);
    std::fprintf(stderr, "cueify fake: %s\n", data().misuses.back().c_str());
    return nullptr;
}

// The failure set for the call on that device, else the one for every device, else none.
int failureOf(const std::string& function, const std::string& device = "", const std::string& at = "")
{
    const std::map<std::string, int>& failures = data().failures;
    const auto found = failures.count(function + device + at) ? failures.find(function + device + at)
                                                              : failures.find(function + at);
    return found != failures.end() ? found->second : CUEIFY_OK;
}

// The pointer array followed by the names, in one block that a single free() releases.
char** packDeviceList(const std::vector<std::optional<std::string>>& names)
{
    size_t size = names.size() * sizeof(char*);
    for (const auto& name : names)
        size += name ? name->size() + 1 : 0;
    auto* block = static_cast<char**>(std::malloc(size));
    char* text = block != nullptr ? reinterpret_cast<char*>(block + names.size()) : nullptr;
    for (size_t i = 0; text != nullptr && i < names.size(); ++i) {
        block[i] = names[i] ? std::strcpy(text, names[i]->c_str()) : nullptr;
        text += names[i] ? names[i]->size() + 1 : 0;
    }
    return block;
}

// Records the call; the disc last read into the TOC, or none for a NULL or invalid handle.
FakeDisc discOf(const char* function, cueify_full_toc* t)
{
    record(function);
    const FakeHandle* handle = live(data().tocHandles, t, "TOC");
    return handle != nullptr ? handle->disc : FakeDisc{};
}

// The session or track with that number; one of zeros when the disc has none.
template <class Entry> Entry numbered(const std::vector<Entry>& entries, uint8_t number)
{
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const Entry& entry) { return entry.number == number; });
    return found != entries.end() ? *found : Entry{};
}

} // namespace

extern "C" {

cueify_device* cueify_device_new(void)
{
    record(__func__);
    return failureOf(__func__) != CUEIFY_OK ? nullptr : make<cueify_device>(data().deviceHandles);
}

int cueify_device_open(cueify_device* d, const char* name)
{
    record(__func__);
    data().openedDevices.emplace_back(name != nullptr ? name : "(null)");
    FakeHandle* handle = live(data().deviceHandles, d, "device");
    if (handle == nullptr || name == nullptr || *name == '\0')
        return CUEIFY_ERR_BADARG;
    const int failure = failureOf(std::string(__func__) + " ", name);
    *handle = failure == CUEIFY_OK ? FakeHandle{false, true, name, {}} : FakeHandle{};
    return failure;
}

void cueify_device_free(cueify_device* d)
{
    record(__func__);
    if (FakeHandle* handle = live(data().deviceHandles, d, "device"))
        *handle = FakeHandle{true, false, {}, {}};
}

int cueify_device_read_full_toc(cueify_device* d, cueify_full_toc* t)
{
    record(__func__);
    FakeHandle* handle = live(data().deviceHandles, d, "device");
    FakeHandle* read = live(data().tocHandles, t, "TOC");
    if (handle == nullptr || read == nullptr)
        return CUEIFY_ERR_BADARG;
    const int result = handle->open ? failureOf(__func__) : CUEIFY_ERR_BADARG;
    read->disc = result == CUEIFY_OK ? data().disc : FakeDisc{};
    return result;
}

int cueify_device_read_raw(cueify_device* d, uint32_t lba, uint8_t* buffer)
{
    record(__func__);
    data().readAddresses.push_back(lba);
    const FakeHandle* handle = live(data().deviceHandles, d, "device");
    if (handle == nullptr || !handle->open)
        return CUEIFY_ERR_BADARG;
    const int failure = failureOf(std::string(__func__) + " ", handle->name, " " + std::to_string(lba));
    const auto found = data().sectors.find(lba);
    const fake::Sector bytes = found != data().sectors.end() ? found->second : fake::Sector{};
    if (failure == CUEIFY_OK)
        std::memcpy(buffer, bytes.data(), bytes.size());
    return failure;
}

char** cueify_device_get_all_devices(size_t* count)
{
    record(__func__);
    char** block = data().devices.empty() ? nullptr : packDeviceList(data().devices);
    if (count != nullptr)
        *count = block != nullptr ? data().devices.size() : 0;
    return block;
}

cueify_full_toc* cueify_full_toc_new(void)
{
    record(__func__);
    return failureOf(__func__) != CUEIFY_OK ? nullptr : make<cueify_full_toc>(data().tocHandles);
}

void cueify_full_toc_free(cueify_full_toc* t)
{
    record(__func__);
    if (FakeHandle* handle = live(data().tocHandles, t, "TOC"))
        *handle = FakeHandle{true, false, {}, {}};
}

// Sessions are listed in order.
uint8_t cueify_full_toc_get_last_session(cueify_full_toc* t)
{
    const FakeDisc disc = discOf(__func__, t);
    return disc.sessions.empty() ? uint8_t{0} : disc.sessions.back().number;
}

uint8_t cueify_full_toc_get_session_last_track(cueify_full_toc* t, uint8_t session)
{
    return numbered(discOf(__func__, t).sessions, session).lastTrack;
}

cueify_msf_t cueify_full_toc_get_session_leadout_address(cueify_full_toc* t, uint8_t session)
{
    return numbered(discOf(__func__, t).sessions, session).leadOut;
}

uint8_t cueify_full_toc_get_track_control_flags(cueify_full_toc* t, uint8_t track)
{
    return numbered(discOf(__func__, t).tracks, track).control;
}

cueify_msf_t cueify_full_toc_get_track_address(cueify_full_toc* t, uint8_t track)
{
    return numbered(discOf(__func__, t).tracks, track).address;
}

cueify_msf_t cueify_full_toc_get_track_length(cueify_full_toc* t, uint8_t track)
{
    return numbered(discOf(__func__, t).tracks, track).length;
}

} // extern "C"
