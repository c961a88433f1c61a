// The cueify C API answered from the fake's state; every call holds the fake's lock and is recorded.
#include "cueify_fake/FakeCueify.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fake {

// The fake's lock for the whole call, and the call recorded.
class FakeCueify::ApiCall
{
public:
    explicit ApiCall(const char* function, std::string text = {}, uint32_t number = 0)
        : m_fake(instance()), m_lock(m_fake.m_mutex), m_function(function)
    {
        data().calls.push_back(Call{function, std::move(text), number});
    }

    FakeData& data() { return m_fake.m_data; }

    // A new handle; what it points to stays allocated until reset().
    template <class Handle, class Object> Handle* make(std::vector<std::unique_ptr<Object>>& made)
    {
        return reinterpret_cast<Handle*>(made.emplace_back(std::make_unique<Object>()).get());
    }

    // The object behind a handle, or null for a NULL, unknown or freed one; the last two are
    // recorded as misuse.
    FakeHandle* device(const cueify_device* handle) { return live(data().deviceHandles, handle, "device"); }
    FakeHandle* toc(const cueify_full_toc* handle) { return live(data().tocHandles, handle, "TOC"); }

private:
    template <class Object>
    Object* live(const std::vector<std::unique_ptr<Object>>& made, const void* handle,
                 const std::string& kind)
    {
        const auto found =
            std::find_if(made.begin(), made.end(), [&](auto& object) { return object.get() == handle; });
        if (handle == nullptr || (found != made.end() && !(*found)->freed))
            return handle == nullptr ? nullptr : found->get();
        const std::string what =
            found == made.end() ? "unknown " + kind + " handle" : kind + " handle already freed";
        data().misuses.push_back(m_function + (": " + what));
        std::fprintf(stderr, "cueify fake: %s\n", data().misuses.back().c_str());
        return nullptr;
    }

    FakeCueify& m_fake;
    std::lock_guard<std::mutex> m_lock;
    const char* m_function;
};

} // namespace fake

namespace {

using ApiCall = fake::FakeCueify::ApiCall;
using fake::FakeDisc;
using fake::FakeSession;
using fake::FakeTrack;

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

template <class Key> int failureOf(const std::map<Key, int>& failures, const Key& key, int otherwise)
{
    const auto found = failures.find(key);
    return found != failures.end() ? found->second : otherwise;
}

// Records the call and answers from the handle's disc; a NULL or invalid handle answers zero.
template <class Answer>
auto answer(const char* function, cueify_full_toc* t, uint32_t number, Answer fromDisc)
{
    ApiCall call(function, {}, number);
    const fake::FakeHandle* toc = call.toc(t);
    return toc != nullptr ? fromDisc(toc->disc) : decltype(fromDisc(toc->disc)){};
}

// A field of the session or track with that number; zero when the disc has none.
template <class Entry, class Field>
Field entryField(const char* function, cueify_full_toc* t, uint8_t number,
                 std::vector<Entry> FakeDisc::*entries, Field Entry::*field)
{
    return answer(function, t, number, [&](const FakeDisc& disc) {
        const std::vector<Entry>& all = disc.*entries;
        const auto found =
            std::find_if(all.begin(), all.end(), [&](const Entry& e) { return e.number == number; });
        return found != all.end() ? (*found).*field : Field{};
    });
}

// Sessions are listed in order.
uint8_t sessionNumber(const char* function, cueify_full_toc* t, bool last)
{
    return answer(function, t, 0, [last](const FakeDisc& disc) {
        return disc.sessions.empty() ? uint8_t{0}
                                     : (last ? disc.sessions.back() : disc.sessions.front()).number;
    });
}

} // namespace

extern "C" {

cueify_device* cueify_device_new(void)
{
    ApiCall call(__func__);
    return call.data().failNew ? nullptr : call.make<cueify_device>(call.data().deviceHandles);
}

int cueify_device_open(cueify_device* d, const char* device)
{
    ApiCall call(__func__, device != nullptr ? device : "(null)");
    fake::FakeHandle* handle = call.device(d);
    if (handle == nullptr || (device != nullptr && *device == '\0'))
        return CUEIFY_ERR_BADARG;
    std::optional<std::string> name = device != nullptr ? std::optional<std::string>(device) : std::nullopt;
    for (auto entry = call.data().devices.begin(); !name && entry != call.data().devices.end(); ++entry)
        name = *entry; // a NULL name opens the first device listed
    const int failure =
        name ? failureOf(call.data().openFailures, *name, call.data().openFailure) : CUEIFY_ERR_NO_DEVICE;
    *handle = failure == CUEIFY_OK ? fake::FakeHandle{false, true, *name, {}} : fake::FakeHandle{};
    return failure;
}

void cueify_device_free(cueify_device* d)
{
    ApiCall call(__func__);
    if (fake::FakeHandle* handle = call.device(d))
        *handle = fake::FakeHandle{true, false, {}, {}};
}

int cueify_device_read_full_toc(cueify_device* d, cueify_full_toc* t)
{
    ApiCall call(__func__);
    fake::FakeHandle* device = call.device(d);
    fake::FakeHandle* toc = call.toc(t);
    if (device == nullptr || toc == nullptr)
        return CUEIFY_ERR_BADARG;
    const int result = device->open ? call.data().tocReadFailure : CUEIFY_ERR_BADARG;
    toc->disc = result == CUEIFY_OK ? call.data().disc : fake::FakeDisc{};
    return result;
}

int cueify_device_read_raw(cueify_device* d, uint32_t lba, uint8_t* buffer)
{
    ApiCall call(__func__, {}, lba);
    fake::FakeHandle* device = call.device(d);
    if (device == nullptr || !device->open || buffer == nullptr)
        return CUEIFY_ERR_BADARG;
    const int failure = failureOf(call.data().deviceReadFailures, std::make_pair(device->name, lba),
                                  failureOf(call.data().readFailures, lba, CUEIFY_OK));
    const auto found = call.data().sectors.find(lba);
    const fake::Sector bytes = found != call.data().sectors.end() ? found->second : fake::Sector{};
    if (failure == CUEIFY_OK)
        std::memcpy(buffer, bytes.data(), bytes.size());
    return failure;
}

char** cueify_device_get_all_devices(size_t* count)
{
    ApiCall call(__func__);
    char** block = call.data().devices.empty() ? nullptr : packDeviceList(call.data().devices);
    if (count != nullptr)
        *count = block != nullptr ? call.data().devices.size() : 0;
    return block;
}

cueify_full_toc* cueify_full_toc_new(void)
{
    ApiCall call(__func__);
    return call.data().failTocNew ? nullptr : call.make<cueify_full_toc>(call.data().tocHandles);
}

void cueify_full_toc_free(cueify_full_toc* t)
{
    ApiCall call(__func__);
    if (fake::FakeHandle* toc = call.toc(t))
        *toc = fake::FakeHandle{true, false, {}, {}};
}

uint8_t cueify_full_toc_get_first_session(cueify_full_toc* t)
{
    return sessionNumber(__func__, t, false);
}

uint8_t cueify_full_toc_get_last_session(cueify_full_toc* t)
{
    return sessionNumber(__func__, t, true);
}

// Each of these records its call and answers a field of the session or track with that number.
// &field names a member: in parentheses it would not.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define FAKE_ENTRY_GETTER(Result, name, entries, field)                                                      \
    Result cueify_full_toc_get_##name(cueify_full_toc* t, uint8_t number)                                    \
    {                                                                                                        \
        return entryField(__func__, t, number, &FakeDisc::entries, &field);                                  \
    }
// NOLINTEND(bugprone-macro-parentheses)

FAKE_ENTRY_GETTER(uint8_t, session_first_track, sessions, FakeSession::firstTrack)
FAKE_ENTRY_GETTER(uint8_t, session_last_track, sessions, FakeSession::lastTrack)
FAKE_ENTRY_GETTER(cueify_msf_t, session_leadout_address, sessions, FakeSession::leadOut)
FAKE_ENTRY_GETTER(uint8_t, track_session, tracks, FakeTrack::session)
FAKE_ENTRY_GETTER(uint8_t, track_control_flags, tracks, FakeTrack::control)
FAKE_ENTRY_GETTER(cueify_msf_t, track_address, tracks, FakeTrack::address)
FAKE_ENTRY_GETTER(cueify_msf_t, track_length, tracks, FakeTrack::length)

#undef FAKE_ENTRY_GETTER

} // extern "C"
