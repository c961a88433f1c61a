#include "cueify_fake/FakeCueify.h"

#include "cueify_fake/FakeState.h"

#include <algorithm>

namespace fake {

namespace {

using Lock = std::lock_guard<std::mutex>;

} // namespace

FakeCueify& FakeCueify::instance()
{
    static FakeCueify fake;
    return fake;
}

FakeCueify::FakeCueify() : m_state(std::make_unique<State>()) {}

FakeCueify::~FakeCueify() = default;

FakeCueify::State& FakeCueify::state()
{
    return *m_state;
}

void FakeCueify::reset()
{
    Lock lock(m_state->mutex);
    m_state->data = FakeData{};
}

void FakeCueify::setDisc(const FakeDisc& disc)
{
    Lock lock(m_state->mutex);
    m_state->data.defaultDisc = disc;
}

void FakeCueify::setDisc(const std::string& deviceName, const FakeDisc& disc)
{
    Lock lock(m_state->mutex);
    m_state->data.discs[deviceName] = disc;
}

void FakeCueify::setSector(uint32_t lba, const Sector& bytes)
{
    Lock lock(m_state->mutex);
    m_state->data.sectors[lba] = bytes;
}

void FakeCueify::setSector(const std::string& deviceName, uint32_t lba, const Sector& bytes)
{
    Lock lock(m_state->mutex);
    m_state->data.deviceSectors[deviceName][lba] = bytes;
}

void FakeCueify::failNew()
{
    Lock lock(m_state->mutex);
    m_state->data.failNew = true;
}

void FakeCueify::failTocNew()
{
    Lock lock(m_state->mutex);
    m_state->data.failTocNew = true;
}

void FakeCueify::failOpen(int code)
{
    Lock lock(m_state->mutex);
    m_state->data.openFailure = code;
}

void FakeCueify::failOpen(const std::string& deviceName, int code)
{
    Lock lock(m_state->mutex);
    m_state->data.openFailures[deviceName] = code;
}

void FakeCueify::failTocRead(int code)
{
    Lock lock(m_state->mutex);
    m_state->data.tocReadFailure = code;
}

void FakeCueify::failReadAt(uint32_t lba, int code)
{
    Lock lock(m_state->mutex);
    m_state->data.readFailures[lba] = code;
}

void FakeCueify::failReadAt(const std::string& deviceName, uint32_t lba, int code)
{
    Lock lock(m_state->mutex);
    m_state->data.deviceReadFailures[deviceName][lba] = code;
}

void FakeCueify::failReadCount(uint32_t lba, int code, int times)
{
    Lock lock(m_state->mutex);
    m_state->data.countedReadFailures[lba] = CountedFailure{code, times};
}

void FakeCueify::setDevices(const std::vector<std::optional<std::string>>& names)
{
    Lock lock(m_state->mutex);
    m_state->data.devices = names;
    auto first = std::find_if(names.begin(), names.end(), [](const auto& name) { return name.has_value(); });
    m_state->data.defaultDevice = first != names.end() ? *first : std::nullopt;
}

std::vector<Call> FakeCueify::calls() const
{
    Lock lock(m_state->mutex);
    return m_state->data.calls;
}

size_t FakeCueify::countCalls(const std::string& function) const
{
    Lock lock(m_state->mutex);
    const auto& calls = m_state->data.calls;
    return std::count_if(calls.begin(), calls.end(), [&](const Call& call) { return call.function == function; });
}

int FakeCueify::liveDevices() const
{
    Lock lock(m_state->mutex);
    const auto& handles = m_state->data.deviceHandles;
    return std::count_if(handles.begin(), handles.end(), [](const auto& device) { return !device->freed; });
}

int FakeCueify::liveTocs() const
{
    Lock lock(m_state->mutex);
    const auto& handles = m_state->data.tocHandles;
    return std::count_if(handles.begin(), handles.end(), [](const auto& toc) { return !toc->freed; });
}

int FakeCueify::openDevices() const
{
    Lock lock(m_state->mutex);
    const auto& handles = m_state->data.deviceHandles;
    return std::count_if(handles.begin(), handles.end(),
                         [](const auto& device) { return !device->freed && device->open; });
}

std::vector<std::string> FakeCueify::misuses() const
{
    Lock lock(m_state->mutex);
    return m_state->data.misuses;
}

} // namespace fake
